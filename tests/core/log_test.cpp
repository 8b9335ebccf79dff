#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include <sys/stat.h>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "platform/profilefile.h"
#include "support/tempfolder.h"

namespace {

std::vector<std::pair<std::string, std::string>> Entries(const TempFolder& folder)
{
    return TProfileFile(folder / "logfile.txt").ReadSectionValues("log");
}

class LogTest : public ::testing::Test {
protected:
    void TearDown() override { EndLog(); }
    TempFolder folder;
};

TEST_F(LogTest, AFirstRunMakesNoBackupAndStartsWithTheStartEntries)
{
    StartLog();
    EXPECT_FALSE(FileExists(folder / "logfile.bak"));
    auto entries = Entries(folder);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(std::regex_match(entries[0].first, std::regex(R"(<1>\d\d:\d\d:\d\d)"))) << entries[0].first;
    EXPECT_TRUE(std::regex_match(entries[0].second,
                                 std::regex(R"(開始記錄時間:\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)")))
        << entries[0].second;
    EXPECT_EQ(entries[1].second, std::string(60, '-'));
    EXPECT_EQ(entries[1].first.substr(0, 3), "<2>");
}

TEST_F(LogTest, ASecondRunKeepsTheFirstRunsFileAsTheBackup)
{
    StartLog();
    TLog::Line("first run");
    ServeMainQueue();
    EndLog();
    std::string firstRun = folder.Read("logfile.txt");
    StartLog();
    EXPECT_EQ(folder.Read("logfile.bak"), firstRun);
    auto entries = Entries(folder);
    ASSERT_EQ(entries.size(), 2u);  // the counter starts again
    EXPECT_EQ(entries[0].first.substr(0, 3), "<1>");
}

TEST_F(LogTest, EntriesInTheSameSecondGetTheirOwnKeys)
{
    StartLog();
    TLog::Line("one");
    TLog::Line("two");
    ServeMainQueue();
    auto entries = Entries(folder);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[2].second, "one");
    EXPECT_EQ(entries[3].second, "two");
    EXPECT_EQ(entries[3].first.substr(0, 3), "<4>");
    EXPECT_NE(entries[2].first, entries[3].first);
}

TEST_F(LogTest, EntriesAreAddedToTheEndOfTheFileWithoutRewritingIt)
{
    StartLog();
    struct stat before {};
    ASSERT_EQ(::stat((folder / "logfile.txt").c_str(), &before), 0);
    std::string start = folder.Read("logfile.txt");
    for (int i = 0; i < 3; ++i)
        TLog::Line("entry " + std::to_string(i));
    ServeMainQueue();
    struct stat after {};
    ASSERT_EQ(::stat((folder / "logfile.txt").c_str(), &after), 0);
    // A rewrite lands by a rename, which gives the file another inode.
    EXPECT_EQ(after.st_ino, before.st_ino);
    std::string text = folder.Read("logfile.txt");
    EXPECT_EQ(text.substr(0, start.size()), start);
    auto entries = Entries(folder);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[4].first.substr(0, 3), "<5>");
    EXPECT_EQ(entries[4].second, "entry 2");
}

TEST_F(LogTest, EntriesFromWorkersAreWrittenByTheMainThreadWithoutWaiting)
{
    StartLog();
    std::thread worker([] {
        for (int i = 0; i < 20; ++i)
            TLog::Line("worker " + std::to_string(i));
    });
    worker.join();  // the worker never waited for the main thread
    EXPECT_EQ(Entries(folder).size(), 2u);
    ServeMainQueue();
    EXPECT_EQ(Entries(folder).size(), 22u);
}

TEST_F(LogTest, DetailAndSeveralLineRequestsWriteNothing)
{
    StartLog();
    std::string before = folder.Read("logfile.txt");
    TLog::Detail("#############trace");
    TLog::Lines({std::string(32, '='), "processfile-->x", "exception---->y", std::string(32, '=')});
    ServeMainQueue();
    EXPECT_EQ(folder.Read("logfile.txt"), before);
}

TEST_F(LogTest, ARefusedWriteDropsTheEntryQuietly)
{
    StartLog();
    // Replace the log by a folder of the same name, so the next write cannot land.
    std::remove((folder / "logfile.txt").c_str());
    ForceFolderOf(folder / "logfile.txt/x");
    TLog::Line("lost");
    EXPECT_NO_THROW(ServeMainQueue());
    std::remove((folder / "logfile.txt").c_str());
    TLog::Line("after");
    ServeMainQueue();
    auto entries = Entries(folder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].second, "after");
}

TEST_F(LogTest, AFolderThatCannotBeWrittenStopsTheStartWithItsName)
{
    folder.Write("not-a-folder", "x");
    ::setenv("ZANVIK_HOME", (folder / "not-a-folder").c_str(), 1);
    ForgetFolders();
    try {
        StartLog();
        FAIL() << "the log should not start";
    } catch (const EProfileWrite& error) {
        EXPECT_NE(std::string(error.what()).find("not-a-folder/logfile.txt"), std::string::npos) << error.what();
    }
}

}  // namespace
