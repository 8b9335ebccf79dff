#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "core/paths.h"
#include "platform/process.h"
#include "platform/profilefile.h"
#include "support/tempfolder.h"

namespace {

const std::string kVorlan = std::string(ZANVIK_BIN_DIR) + "/vorlan";

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(30))
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A program folder as the build makes it: the shipped tables in "data/".
void ShipTables(const TempFolder& folder)
{
    for (const char* table : {"kind.db", "favor.db"})
        folder.Write(std::string("data/") + table, ReadFile(std::string(ZANVIK_BIN_DIR) + "/data/" + table));
}

pid_t StartVorlan(const TempFolder& folder)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return SpawnProgram("/bin/sh", {"-c", "exec \"$0\" 2>\"$1\"", kVorlan, folder / "stderr.txt"});
}

class VorlanProgram : public ::testing::TestWithParam<int> {};

TEST_P(VorlanProgram, AQuitSignalClosesTheWindowAndWritesTheSettingsBack)
{
    TempFolder folder;
    folder.Write("vorlan.ini", "[setup]\nmaxFileSize=3\nremindforload=1\n");
    ShipTables(folder);
    pid_t pid = StartVorlan(folder);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitFor([&] { return FileExists(folder / "logfile.txt"); })) << folder.Read("stderr.txt");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let the message loop start
    ::kill(pid, GetParam());
    int exitCode = -2;
    ASSERT_TRUE(WaitFor([&] { return !ProgramRunning(pid, &exitCode); }));
    EXPECT_EQ(exitCode, 0);
    TProfileFile settings(folder / "vorlan.ini");
    EXPECT_EQ(settings.ReadString("setup", "maxFileSize", ""), "3");
    EXPECT_EQ(settings.ReadString("setup", "remindForLoad", ""), "1");
    EXPECT_EQ(settings.ReadString("setup", "dial_who", "missing"), "");
    EXPECT_EQ(settings.ReadString("default", "bdebugVersion", ""), "0");
    EXPECT_NE(folder.Read("vorlan.ini").find("remindForLoad=1"), std::string::npos);
    // The data module made the schedule and the reading list on the first start.
    EXPECT_TRUE(FileExists(folder / "data/station.db"));
    EXPECT_TRUE(FileExists(folder / "data/see.db"));
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, VorlanProgram, ::testing::Values(SIGTERM, SIGINT));

TEST(VorlanStart, AProgramFolderThatCannotBeWrittenIsNamedInAClearMessage)
{
    TempFolder folder;
    folder.Write("blocked", "a plain file where the program folder should be");
    ::setenv("ZANVIK_HOME", (folder / "blocked").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    pid_t pid = SpawnProgram("/bin/sh", {"-c", "exec \"$0\" 2>\"$1\"", kVorlan, folder / "stderr.txt"});
    ASSERT_GT(pid, 0);
    EXPECT_EQ(WaitProgram(pid), 1);
    std::string message = folder.Read("stderr.txt");
    EXPECT_NE(message.find("program folder \"" + folder.Path() + "blocked/\""), std::string::npos) << message;
    EXPECT_EQ(folder.Read("blocked"), "a plain file where the program folder should be");
}

TEST(VorlanStart, AMissingPhoneBookIsNamedAndNothingIsCreatedInItsPlace)
{
    TempFolder folder;
    ShipTables(folder);
    std::remove((folder / "data/favor.db").c_str());
    pid_t pid = StartVorlan(folder);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(WaitProgram(pid), 1);
    std::string message = folder.Read("stderr.txt");
    EXPECT_NE(message.find("favor.db"), std::string::npos) << message;
    EXPECT_FALSE(FileExists(folder / "data/favor.db"));
}

}  // namespace
