#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <csignal>
#include <thread>

#include <QTest>

#include "core/paths.h"
#include "data/table.h"
#include "platform/process.h"
#include "platform/profilefile.h"
#include "support/nginxserver.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"
#include "ui/dbedit.h"
#include "ui/fmmain.h"
#include "ui/fmwww.h"
#include "ui/schedulepage.h"
#include "uitestkit.h"

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

// Waits for the program to end after a quit signal; one that hangs is killed, so that no
// test leaves it behind.
bool Ended(pid_t pid, int& exitCode)
{
    if (WaitFor([&] { return !ProgramRunning(pid, &exitCode); }))
        return true;
    ::kill(pid, SIGKILL);
    WaitProgram(pid);
    return false;
}

void ShipPictures(const TempFolder& folder)
{
    std::filesystem::copy(std::string(ZANVIK_BIN_DIR) + "/system", folder / "system",
                          std::filesystem::copy_options::recursive);
}

class TNoAccount : public TDialAccount {
public:
    std::string UserName() const override { return ""; }
    std::string Password() const override { return ""; }
    std::string Telephone() const override { return ""; }
};

// The user's way of adding an entry, run in this process: the schedule page's add command
// and the schedule dialog, filled in and confirmed. The dialog proposes the present hour
// and minute, so a daily entry made so is due at once.
void AddScheduleEntry(TDMMain& data, const std::string& alias, const std::string& url)
{
    ScriptedUi ui;
    TNoAccount account;
    TfmMain window(data, account);
    WhenModal([&](QWidget*) {
        TfmWWW& dialog = window.fmWWW();
        QTest::keyClicks(dialog.dbEdtAlias, QString::fromStdString(alias));
        QTest::keyClicks(dialog.dbEdtURL, QString::fromStdString(url));
        dialog.EdtLayout->setText("1");
        dialog.BtnOK->click();
    });
    window.panSchedule->AddSchedule();
}

TEST(VorlanSchedule, AnEntryDueNowIsGrabbedShownAsDoneAndListedForReading)
{
    if (!NginxServer::Available())
        GTEST_SKIP() << "nginx is not installed";
    TempFolder site(TempFolder::Use::Plain);
    site.Write("index.html", "<html><body><a href=\"page.html\">page</a></body></html>");
    site.Write("page.html", "<html><body>second page</body></html>");
    NginxServer nginx(site.Path());
    ASSERT_TRUE(nginx.Running()) << nginx.Error();
    const std::string url = nginx.Url("/");

    DataFolder folder;
    ShipPictures(folder.Home());
    AddScheduleEntry(folder.Data(), "local site", url.substr(7));
    TTable& station = folder.Data().tabStation();
    ASSERT_EQ(station.RecordCount(), 1);
    ASSERT_EQ(station.FieldByName("URL").AsString(), url);
    ASSERT_LE(station.FieldByName("desireDateTime").AsDateTime(), Now());

    pid_t pid = StartVorlan(folder.Home());
    ASSERT_GT(pid, 0);
    bool grabbed = WaitFor([&] {
        station.Refresh();
        return station.FieldByName("StatusCode").AsInteger() == 1;
    }, std::chrono::seconds(60));
    EXPECT_TRUE(grabbed) << folder.Home().Read("stderr.txt") << folder.Home().Read("logfile.txt");
    EXPECT_GT(station.FieldByName("desireDateTime").AsDateTime(), Now());
    TTable& see = folder.Data().seeTab();
    see.Refresh();
    EXPECT_TRUE(see.Locate("URL", {url}));
    EXPECT_EQ(see.FieldByName("Alias").AsString(), "local site");
    EXPECT_TRUE(FileExists(folder.Home() / "wwwData/127.0.0.1/page.html"));

    ::kill(pid, SIGTERM);
    int exitCode = -2;
    ASSERT_TRUE(Ended(pid, exitCode)) << folder.Home().Read("stderr.txt");
    EXPECT_EQ(exitCode, 0);
    EXPECT_NE(folder.Home().Read("logfile.txt").find("下載成功(local site-" + url + ")"), std::string::npos)
        << folder.Home().Read("logfile.txt");
}

TEST(VorlanSchedule, AQuitSignalWhileTheReminderIsOpenEndsTheProgramAsClosingItWould)
{
    DataFolder folder;
    ShipPictures(folder.Home());
    folder.Home().Write("vorlan.ini", "[setup]\nremindForLoad=1\n");
    TTable& station = folder.Data().tabStation();
    TDateTime desired = Now() - 1.0 / 24;
    station.Append();
    station.FieldByName("Index").SetAsDateTime(desired);
    station.FieldByName("URL").SetAsString("http://127.0.0.1:9/");
    station.FieldByName("Alias").SetAsString("unreachable");
    station.FieldByName("desireDateTime").SetAsDateTime(desired);
    station.FieldByName("NextDesireDateTime").SetAsDateTime(desired + 1);
    station.FieldByName("Frequency").SetAsString("RdBDaily");
    station.FieldByName("StatusCode").SetAsInteger(0);
    station.Post();

    pid_t pid = StartVorlan(folder.Home());
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitFor([&] { return FileExists(folder.Home() / "logfile.txt"); }));
    // The scheduler asks at once about the due entry; the question stays on the screen.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ::kill(pid, SIGTERM);
    int exitCode = -2;
    ASSERT_TRUE(Ended(pid, exitCode)) << folder.Home().Read("stderr.txt");
    EXPECT_EQ(exitCode, 0);
    TProfileFile settings(folder.Home() / "vorlan.ini");
    EXPECT_EQ(settings.ReadString("setup", "remindForLoad", ""), "1");
    // Closed, the question counts as "下次下載": the entry was not grabbed and moves on.
    station.Refresh();
    EXPECT_EQ(station.FieldByName("StatusCode").AsInteger(), 0);
    EXPECT_NE(folder.Home().Read("logfile.txt").find("預約排程開始(unreachable-http://127.0.0.1:9/)"), std::string::npos)
        << folder.Home().Read("logfile.txt");
    EXPECT_GT(station.FieldByName("desireDateTime").AsDateTime(), Now());
}

}  // namespace
