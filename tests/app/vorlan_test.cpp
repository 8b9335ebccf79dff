#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <QTest>

#include "core/paths.h"
#include "data/table.h"
#include "platform/process.h"
#include "platform/profilefile.h"
#include "schedule/dialaccount.h"
#include "support/nginxserver.h"
#include "support/pollwait.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"
#include "ui/dbedit.h"
#include "ui/fmmain.h"
#include "ui/fmwww.h"
#include "ui/schedulepage.h"
#include "uitestkit.h"

namespace {

const std::string kVorlan = std::string(ZANVIK_BIN_DIR) + "/vorlan";
const std::string kVorlanGrab = std::string(ZANVIK_BIN_DIR) + "/vorlan-grab";
const int kPageServerPort = 8088;

// A program folder as the build makes it: the shipped tables in "data/".
void ShipTables(const TempFolder& folder)
{
    for (const char* table : {"kind.db", "favor.db"})
        folder.Write(std::string("data/") + table, ReadFile(std::string(ZANVIK_BIN_DIR) + "/data/" + table));
}

pid_t StartVorlan(const TempFolder& folder, const std::string& errors = "stderr.txt")
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return SpawnProgram("/bin/sh", {"-c", "exec \"$0\" 2>\"$1\"", kVorlan, folder / errors});
}

// Waits for the program to end; stops it by its pid when it overruns the limit.
bool Ends(pid_t pid, std::chrono::seconds limit, int* exitCode = nullptr)
{
    if (PollUntil([&] { return !ProgramRunning(pid, exitCode); }, limit))
        return true;
    ::kill(pid, SIGKILL);
    WaitProgram(pid);
    return false;
}

// True when process pid listens on 127.0.0.1:port: the socket's inode in the kernel's
// table of TCP sockets is one of the process's descriptors.
bool Listens(pid_t pid, int port)
{
    char local[32];
    std::snprintf(local, sizeof local, "0100007F:%04X", port);
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        std::istringstream words(line);
        std::string slot, address, remote, state, queues, timer, retransmits, uid, timeout, inode;
        words >> slot >> address >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode;
        if (address != local || state != "0A")
            continue;
        std::error_code error;
        for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error))
            if (std::filesystem::read_symlink(fd.path(), error).string() == "socket:[" + inode + "]")
                return true;
    }
    return false;
}

class VorlanProgram : public ::testing::TestWithParam<int> {};

TEST_P(VorlanProgram, AQuitSignalClosesTheWindowAndWritesTheSettingsBack)
{
    TempFolder folder;
    folder.Write("vorlan.ini", "[setup]\nmaxFileSize=3\nremindforload=1\n");
    ShipTables(folder);
    pid_t pid = StartVorlan(folder);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(PollUntil([&] { return FileExists(folder / "logfile.txt"); })) << folder.Read("stderr.txt");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let the message loop start
    ::kill(pid, GetParam());
    int exitCode = -2;
    ASSERT_TRUE(PollUntil([&] { return !ProgramRunning(pid, &exitCode); }));
    EXPECT_EQ(exitCode, 0);
    TProfileFile settings(folder / "vorlan.ini");
    // The options page keeps the file size within its range of 100 to 1000 KB.
    EXPECT_EQ(settings.ReadString("setup", "maxFileSize", ""), "100");
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
    EXPECT_NE(message.find("\"" + folder.Path() + "blocked/\""), std::string::npos) << message;
    EXPECT_NE(message.find("ZANVIK_HOME"), std::string::npos) << message;
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

TEST(VorlanStart, AWindowsFolderThatCannotBeWrittenIsNamedWithItsVariable)
{
    TempFolder folder;
    ShipTables(folder);
    folder.Write("blocked", "a plain file where the Windows folder should be");
    ::setenv("ZANVIK_WINDIR", (folder / "blocked").c_str(), 1);
    pid_t pid = StartVorlan(folder);
    ASSERT_GT(pid, 0);
    int exitCode = -2;
    ASSERT_TRUE(Ends(pid, std::chrono::seconds(30), &exitCode));
    EXPECT_EQ(exitCode, 1);
    std::string message = folder.Read("stderr.txt");
    EXPECT_NE(message.find("\"" + folder.Path() + "blocked/\""), std::string::npos) << message;
    EXPECT_NE(message.find("ZANVIK_WINDIR"), std::string::npos) << message;
    EXPECT_EQ(message.find("ZANVIK_HOME"), std::string::npos) << message;
}

TEST(VorlanStart, ASecondStartOnTheSameFolderIsRefusedAndDisturbsNothing)
{
    TempFolder folder;
    ShipTables(folder);
    pid_t first = StartVorlan(folder);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(PollUntil([&] { return FileExists(folder / "logfile.txt"); })) << folder.Read("stderr.txt");
    std::string log = folder.Read("logfile.txt");

    pid_t second = StartVorlan(folder, "second.txt");
    int exitCode = -2;
    EXPECT_TRUE(Ends(second, std::chrono::seconds(15), &exitCode)) << "the second start ran on";
    EXPECT_EQ(exitCode, 1);
    std::string refusal = folder.Read("second.txt");
    EXPECT_NE(refusal.find("\"" + folder.Path() + "\""), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("程序 " + std::to_string(first)), std::string::npos) << refusal;

    // A timed grab on the folder fails at once with the same words.
    pid_t grab = SpawnProgram("/bin/sh", {"-c", "exec \"$0\" http://127.0.0.1:9/ 2>\"$1\" >/dev/null", kVorlanGrab,
                                          folder / "grab.txt"});
    exitCode = -2;
    EXPECT_TRUE(Ends(grab, std::chrono::seconds(15), &exitCode));
    EXPECT_EQ(exitCode, 2);
    size_t words = refusal.find("Zanvik");
    EXPECT_NE(words, std::string::npos) << refusal;
    if (words != std::string::npos) {
        EXPECT_NE(folder.Read("grab.txt").find(refusal.substr(words)), std::string::npos) << folder.Read("grab.txt");
    }

    EXPECT_FALSE(FileExists(folder / "logfile.bak")) << "the running program's log was moved away";
    EXPECT_EQ(folder.Read("logfile.txt").substr(0, log.size()), log);
    ::kill(first, SIGTERM);
    exitCode = -2;
    ASSERT_TRUE(Ends(first, std::chrono::seconds(15), &exitCode));
    EXPECT_EQ(exitCode, 0);
}

// The page server's port is fixed and other programs on this machine may hold it, so the
// case runs again in a network of its own when the system allows one; it is set when it
// runs there.
const char* const kOwnNetwork = "ZANVIK_TEST_OWN_NETWORK";

bool LoopbackUp()
{
    int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ::ioctl(probe, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    up = up && ::ioctl(probe, SIOCSIFFLAGS, &request) == 0;
    ::close(probe);
    return up;
}

// Runs the current case again in a network namespace of its own; false when the system
// allows none.
bool RunAgainInOwnNetwork()
{
    std::string unshare = FindOnPath("unshare");
    if (unshare.empty() || WaitProgram(SpawnProgram(unshare, {"-n", "true"})) != 0)
        return false;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string filter = std::string(test->test_suite_name()) + "." + test->name();
    TempFolder output(TempFolder::Use::Plain);
    ::setenv(kOwnNetwork, "1", 1);
    pid_t pid = SpawnProgram("/bin/sh", {"-c", "exec \"$0\" -n \"$1\" --gtest_filter=\"$2\" >\"$3\" 2>&1", unshare,
                                         std::filesystem::read_symlink("/proc/self/exe").string(), filter,
                                         output / "run.txt"});
    ::unsetenv(kOwnNetwork);
    int exitCode = -2;
    EXPECT_TRUE(Ends(pid, std::chrono::seconds(90), &exitCode));
    EXPECT_EQ(exitCode, 0) << output.Read("run.txt");
    return true;
}

void SigtermWhileABrowserReadsNothing()
{
    TempFolder folder;
    ShipTables(folder);
    folder.Write("dns.ini", "[www]\nbig.test=10.9.8.7\n");
    folder.Write("wwwData/10.9.8.7/huge.bin", std::string(32 * 1024 * 1024, 'x'));
    // The page server's port is fixed; another run of these tests may hold it for a while.
    pid_t pid = -1;
    for (int attempt = 0; attempt < 10 && pid < 0; ++attempt) {
        pid_t started = StartVorlan(folder);
        ASSERT_GT(started, 0);
        if (PollUntil([&] { return Listens(started, kPageServerPort); }, std::chrono::seconds(5))) {
            pid = started;
            break;
        }
        ::kill(started, SIGTERM);
        Ends(started, std::chrono::seconds(15));
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    if (pid < 0 && std::getenv(kOwnNetwork))
        FAIL() << "vorlan did not listen on port " << kPageServerPort << "\n" << folder.Read("stderr.txt");
    if (pid < 0)
        GTEST_SKIP() << "port " << kPageServerPort << " stayed taken by another program";

    int browser = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int small = 4096;
    ::setsockopt(browser, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(kPageServerPort);
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(browser, reinterpret_cast<sockaddr*>(&server), sizeof server), 0);
    const std::string request = "GET http://big.test/huge.bin HTTP/1.0\r\n\r\n";
    ASSERT_EQ(::send(browser, request.data(), request.size(), MSG_NOSIGNAL), static_cast<ssize_t>(request.size()));
    // The answer has begun and now waits on a browser that reads nothing.
    ASSERT_TRUE(PollUntil([&] {
        int waiting = 0;
        return ::ioctl(browser, FIONREAD, &waiting) == 0 && waiting > 0;
    }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    auto start = std::chrono::steady_clock::now();
    ::kill(pid, SIGTERM);
    int exitCode = -2;
    bool ended = Ends(pid, std::chrono::seconds(20), &exitCode);
    auto took = std::chrono::steady_clock::now() - start;
    ::close(browser);
    ASSERT_TRUE(ended) << folder.Read("stderr.txt");
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_EQ(exitCode, 0);
}

TEST(VorlanStop, EndsWithinFiveSecondsOfSigtermWhileABrowserReadsNothing)
{
    if (std::getenv(kOwnNetwork)) {
        ASSERT_TRUE(LoopbackUp());
        SigtermWhileABrowserReadsNothing();
    } else if (!RunAgainInOwnNetwork()) {
        SigtermWhileABrowserReadsNothing();
    }
}

void ShipPictures(const TempFolder& folder)
{
    std::filesystem::copy(std::string(ZANVIK_BIN_DIR) + "/system", folder / "system",
                          std::filesystem::copy_options::recursive);
}

// The user's way of adding an entry, run in this process: the schedule page's add command
// and the schedule dialog, filled in and confirmed. The dialog proposes the present hour
// and minute, so a daily entry made so is due at once.
void AddScheduleEntry(TDMMain& data, const std::string& alias, const std::string& url)
{
    ScriptedUi ui;
    TNoDialAccount account;
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
    bool grabbed = PollUntil([&] {
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
    ASSERT_TRUE(Ends(pid, std::chrono::seconds(30), &exitCode)) << folder.Home().Read("stderr.txt");
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
    ASSERT_TRUE(PollUntil([&] { return FileExists(folder.Home() / "logfile.txt"); }));
    // The scheduler asks at once about the due entry; the question stays on the screen.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ::kill(pid, SIGTERM);
    int exitCode = -2;
    ASSERT_TRUE(Ends(pid, std::chrono::seconds(30), &exitCode)) << folder.Home().Read("stderr.txt");
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
