#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "core/paths.h"
#include "core/settings.h"
#include "core/version.h"
#include "grab/grabstate.h"
#include "grab/grabtimings.h"
#include "grabtestkit.h"
#include "support/scriptedserver.h"

namespace {

using Script = ScriptedServer::Script;

bool Has(const std::vector<std::string>& lines, const std::string& text)
{
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

bool HasPrefix(const std::vector<std::string>& lines, const std::string& prefix)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

// A line of whichever slave took the page: its number, then text.
bool SlaveLogged(const std::vector<std::string>& lines, const std::string& text)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() > 1 && line[0] >= '1' && line[0] <= '5' && line.compare(1, text.size(), text) == 0;
    });
}

class PageFetch : public ::testing::Test {
protected:
    GrabFixture grab;
    ScriptedServer server;
};

TEST_F(PageFetch, HeadThenGetStoresExactlyTheBodyAndSendsTheDescribedRequests)
{
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain", "Content-Length: 5"})));
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain", "Content-Length: 5"}, "hello")));
    EXPECT_EQ(grab.Grab(server.Url("/a%20b.txt"), 1), 0);  // a whole home page without links is a site done
    EXPECT_EQ(grab.Stored("127.0.0.1", "a b.txt"), "hello");
    const std::string agent = "User-Agent: Zanvik/" + ZanvikVersion() + "\r\n";
    EXPECT_EQ(server.Request(0), "HEAD /a%20b.txt HTTP/1.0\r\nAccept: */*\r\nHost: 127.0.0.1\r\n" + agent + "\r\n");
    EXPECT_EQ(server.Request(1), "GET /a%20b.txt HTTP/1.0\r\nAccept: */*\r\nHost: 127.0.0.1\r\n" + agent + "\r\n");
    EXPECT_EQ(grab.cache->Lookup("127.0.0.1"), "127.0.0.1");
    EXPECT_EQ(grab.StoreFiles(), std::vector<std::string>{"127.0.0.1/a b.txt"});
    EXPECT_TRUE(Has(grab.scheduler.Statuses(), "下載完畢:" + server.Url("/a%20b.txt")));
}

TEST_F(PageFetch, TheGetResponseIsCutAtItsOwnEndOfHeader)
{
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"})));
    server.Push(Script::Answer(
        Reply("200 OK", {"Content-Type: text/plain", "X-Longer-Header: with many more bytes than the head"}, "body\r\n\r\nmore")));
    grab.Grab(server.Url("/x.txt"), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "x.txt"), "body\r\n\r\nmore");

    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain", "X-Long: aaaaaaaaaaaaaaaaaaaaaaaaaaaaa"})));
    server.Push(Script::Answer("HTTP/1.0 200 OK\n\nshort"));
    grab.Grab(server.Url("/y.txt"), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "y.txt"), "short");
}

TEST_F(PageFetch, RefusedHeadersStopTheSiteAndStoreNothing)
{
    struct Case {
        std::string reply;
        std::string stage;
    };
    for (const Case& c : {Case{Reply("301 Moved Permanently", {}), "301 without a place to go"},
                          Case{Reply("404 Not Found", {}), "404"}, Case{Reply("500 Oops", {}), "500"},
                          Case{"HTTP/1.0 x00 Odd\r\n\r\n", "odd status"}, Case{"HTTP/1.0 abc\r\n\r\n", "not a number"},
                          Case{"SSH-2.0-OpenSSH\r\n", "not HTTP"}, Case{"HTTP/1.0 200 OK\r\nA: b\r\n", "no empty line"},
                          Case{"", "empty"}, Case{"HTTP/1.0\n\n", "too short"}}) {
        server.Push(Script::Answer(c.reply));
        EXPECT_EQ(grab.Grab(server.Url("/page.htm"), 1), 2) << c.stage;
        EXPECT_TRUE(grab.StoreFiles().empty()) << c.stage;
        EXPECT_TRUE(Has(grab.scheduler.Statuses(), "中斷下載")) << c.stage;
    }
    EXPECT_EQ(server.Connections(), 9);  // no GET after a refused HEAD
}

TEST_F(PageFetch, AnExeIsNeverRequested)
{
    EXPECT_EQ(grab.Grab(server.Url("/setup.EXE"), 1), 2);
    ASSERT_TRUE(server.WaitForConnections(1, std::chrono::seconds(5)));
    EXPECT_EQ(server.Request(0), "");
}

TEST_F(PageFetch, AReachableHostThatRefusesEndsTheSiteAtOnce)
{
    int port = server.Port();
    server.Stop();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(grab.Grab("http://127.0.0.1:" + std::to_string(port) + "/", 1), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(Has(grab.ui.Shown("status"), "無法連結主機:127.0.0.1"));
    EXPECT_TRUE(HasPrefix(grab.LogLines(), "0:主機沒有回應(http://127.0.0.1:"));
}

TEST_F(PageFetch, AServerThatNeverAnswersIsGivenUpAfterTheSlowDataLimit)
{
    server.Push(Script().ReadRequest().Hold());
    std::thread jump([&] {
        server.WaitForConnections(1, std::chrono::seconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        GrabFixture::clockOffset = 4.0 / (24 * 60);  // four minutes pass at once
    });
    int result = grab.Grab(server.Url("/slow.htm"), 1);
    jump.join();
    EXPECT_EQ(result, 2);
    EXPECT_TRUE(HasPrefix(grab.LogLines(), "0:主機回覆資料時間過長(" + server.Url("/slow.htm") + ")("));
}

// A slave's request goes out as its connection stands, before the slave wakes; the slave
// still waits for the answer as for any other: a stop ends the page without calling the
// server silent, and a server that stays silent is given up after the slow-data limit.
TEST_F(PageFetch, ASlavesAnswerIsWaitedForLikeAnyOther)
{
    // Long passes keep the slave in its wait for the connection while the answer is due.
    TGrabTimings timings;
    timings.connectPassMs = 1000;
    SetGrabTimingsForTest(timings);
    auto heldSlave = [&] {
        server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/html"})));
        server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/html"}, "<a href=\"slow.txt\">s</a>")));
        server.Push(Script().ReadRequest().Hold());
    };
    // Runs then once the server has taken connections (the slave's is the third of a
    // grab) and held the last a while.
    auto whenHeld = [&](int connections, std::function<void()> then) {
        return std::thread([this, connections, then] {
            server.WaitForConnections(connections, std::chrono::seconds(10));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            then();
        });
    };
    heldSlave();
    std::thread stop = whenHeld(3, [] { GrabState().StopFlag = true; });
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 1), 1);  // the slaves' phase was stopped
    stop.join();
    EXPECT_EQ(server.Request(2).rfind("HEAD /slow.txt HTTP/1.0\r\n", 0), 0u);
    EXPECT_FALSE(SlaveLogged(grab.LogLines(), ":主機沒有回應("));

    GrabState().StopFlag = false;
    heldSlave();
    std::thread jump = whenHeld(6, [] { GrabFixture::clockOffset = 4.0 / (24 * 60); });
    grab.Grab(server.Url("/index.html"), 1);
    jump.join();
    EXPECT_EQ(server.Request(5).rfind("HEAD /slow.txt HTTP/1.0\r\n", 0), 0u);
    EXPECT_TRUE(SlaveLogged(grab.LogLines(), ":主機回覆資料時間過長(" + server.Url("/slow.txt") + ")("));
}

TEST_F(PageFetch, ABodyCutShortByTheServerKeepsTheOlderCopy)
{
    grab.folder.Write("wwwData/127.0.0.1/keep.txt", "the copy the user had");
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"})));
    server.Push(Script().ReadRequest().Send("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n").Abort());
    grab.Grab(server.Url("/keep.txt"), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "keep.txt"), "the copy the user had");
    EXPECT_EQ(grab.StoreFiles(), std::vector<std::string>{"127.0.0.1/keep.txt"});
}

TEST_F(PageFetch, StoppingDuringAGetLeavesNoTemporaryFileAndKeepsTheOlderCopy)
{
    grab.folder.Write("wwwData/127.0.0.1/big.txt", "older");
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"})));
    server.Push(Script().ReadRequest().Send("HTTP/1.0 200 OK\r\n\r\n" + std::string(3000, 'b')).Hold());
    std::thread stop([&] {
        server.WaitForConnections(2, std::chrono::seconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        GrabState().StopFlag = true;
    });
    EXPECT_EQ(grab.Grab(server.Url("/big.txt"), 0), 2);
    stop.join();
    EXPECT_EQ(grab.StoreFiles(), std::vector<std::string>{"127.0.0.1/big.txt"});
    EXPECT_EQ(grab.Stored("127.0.0.1", "big.txt"), "older");
}

TEST_F(PageFetch, AStoredCopyAsNewAsTheServersIsNotFetchedAgain)
{
    grab.folder.Write("wwwData/127.0.0.1/old.txt", "stored");
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain", "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT"})));
    grab.Grab(server.Url("/old.txt"), 0);
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_EQ(grab.Stored("127.0.0.1", "old.txt"), "stored");
    EXPECT_TRUE(Has(grab.ui.Shown("status"), server.Url("/old.txt") + " 檔案資料沒變, 不需下載"));

    // Another date form always fetches.
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain", "Last-Modified: Sunday, 06-Nov-94 08:49:37 GMT"})));
    server.Push(Script::Answer(Reply("200 OK", {}, "fresh")));
    grab.Grab(server.Url("/old.txt"), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "old.txt"), "fresh");
}

TEST_F(PageFetch, QuickModeFetchesNoBodyThatIsNotText)
{
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: image/gif"})));
    EXPECT_EQ(grab.Grab(server.Url("/picture.gif"), 1, false, true), 0);
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_TRUE(grab.StoreFiles().empty());
}

TEST_F(PageFetch, UnsafePathsAreNeverWritten)
{
    for (const char* path : {"/%2e%2e/%2e%2e/etc/x.txt", "/a/%2E%2E%2F..%2fx.txt", "/evil%00.txt"}) {
        server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"})));
        grab.Grab(server.Url(path), 0);
    }
    EXPECT_TRUE(grab.StoreFiles().empty());
    EXPECT_EQ(server.Connections(), 3);  // HEADs only: there is no file to fetch into
    EXPECT_FALSE(FileExists(grab.folder / "etc/x.txt"));
    EXPECT_FALSE(FileExists(grab.folder / "wwwData/etc/x.txt"));
}

TEST_F(PageFetch, AUrlOverThreeHundredCharactersIsNoPage)
{
    EXPECT_EQ(grab.Grab(server.Url("/" + std::string(320, 'a') + ".htm"), 0), 2);
    EXPECT_EQ(server.Connections(), 0);
}

TEST_F(PageFetch, AFullDiskStopsTheSiteAndTheScheduler)
{
    Settings().minVolumn = 1 << 30;
    EXPECT_EQ(grab.Grab(server.Url("/"), 1), 2);
    EXPECT_TRUE(grab.scheduler.ended);
    EXPECT_EQ(server.Connections(), 0);
    auto dialogs = grab.ui.Shown("dialog");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_NE(dialogs[0].find("|硬碟容量不足"), std::string::npos);
    EXPECT_TRUE(Has(grab.LogLines(), "0:停止下載" + server.Url("/") + "硬碟容量不足"));
}

TEST_F(PageFetch, ASiteGrabbedTooLongStops)
{
    Settings().maxSiteTime = 60;
    grab.siteStartBack = 61.0 / (24 * 60);
    EXPECT_EQ(grab.Grab(server.Url("/"), 1), 2);
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_TRUE(Has(grab.ui.Shown("status"), "單站抓取時間過長,換下一個站台"));
    EXPECT_TRUE(Has(grab.LogLines(), "0:" + server.Url("/") + "抓取時間過長,換下一個站台"));

    grab.siteStartBack = 60.0 / (24 * 60);  // exactly the limit is not over it
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"})));
    server.Push(Script::Answer(Reply("200 OK", {}, "x")));
    EXPECT_EQ(grab.Grab(server.Url("/"), 1), 0);
}

}  // namespace
