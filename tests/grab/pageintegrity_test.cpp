// A stored page is one whole good answer: servers that cut answers short, reset, answer
// with errors, send without end or trickle never leave a cut, mixed or error page behind,
// and an older copy survives a failed refresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "core/settings.h"
#include "grab/grabstate.h"
#include "grabtestkit.h"
#include "support/scriptedserver.h"

namespace {

using Script = ScriptedServer::Script;
using Files = std::vector<std::string>;
using namespace std::chrono_literals;

bool HasPrefix(const std::vector<std::string>& lines, const std::string& prefix)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

std::string HttpHeader(const std::string& status, const std::vector<std::string>& headers)
{
    return Reply(status, headers);
}

class PageIntegrity : public ::testing::Test {
protected:
    GrabFixture grab;
    ScriptedServer server;
};

TEST_F(PageIntegrity, AnAnswerCutShortOrResetKeepsTheOlderCopy)
{
    struct Case {
        const char* name;
        std::vector<std::string> headHeaders;
        std::vector<std::string> getHeaders;
        bool reset;
        std::string logged;
    };
    const std::string length = "Content-Length: 10000";
    const std::string url = server.Url("/page.txt");
    for (const Case& c : {Case{"closed before the length of both answers", {length}, {length}, false,
                               "0:網頁傳輸不完整(收到3000位元,應有10000位元),放棄這次下載(" + url + ")"},
                          Case{"closed before the length of the HEAD answer", {length}, {}, false,
                               "0:網頁傳輸不完整(收到3000位元,應有10000位元),放棄這次下載(" + url + ")"},
                          Case{"reset before the length", {length}, {length}, true,
                               "0:連線被主機中斷,放棄這次下載(" + url + ")"},
                          Case{"reset without any length", {}, {}, true, "0:連線被主機中斷,放棄這次下載(" + url + ")"}}) {
        grab.folder.Write("wwwData/127.0.0.1/page.txt", "the copy the user had");
        server.Push(Script::Answer(HttpHeader("200 OK", c.headHeaders)));
        Script get = Script().ReadRequest().Send(HttpHeader("200 OK", c.getHeaders)).SendFiller(3000);
        if (c.reset)
            get.Abort();
        server.Push(get);
        EXPECT_EQ(grab.Grab(url, 0), 1) << c.name;  // the home page is not whole: interrupted
        EXPECT_EQ(grab.Stored("127.0.0.1", "page.txt"), "the copy the user had") << c.name;
        EXPECT_EQ(grab.StoreFiles(), Files{"127.0.0.1/page.txt"}) << c.name;
        auto lines = grab.LogLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.logged), lines.end()) << c.name;
    }
}

TEST_F(PageIntegrity, AGetAnsweredWithAnErrorStatusIsNeitherStoredNorScanned)
{
    const std::string errorPage = "<a href=\"trap.htm\">a link of the error page</a>";
    for (bool older : {true, false}) {
        if (older)
            grab.folder.Write("wwwData/127.0.0.1/news.htm", "<p>older news, no links</p>");
        server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/html"})));
        server.Push(Script::Answer(Reply("503 Service Unavailable", {"Content-Type: text/html"}, errorPage)));
        int before = server.Connections();
        EXPECT_EQ(grab.Grab(server.Url("/news.htm"), 2), 1);
        EXPECT_EQ(server.Connections(), before + 2);  // trap.htm is never asked for
        if (older)
            EXPECT_EQ(grab.Stored("127.0.0.1", "news.htm"), "<p>older news, no links</p>");
        else
            EXPECT_TRUE(grab.StoreFiles().empty());
        EXPECT_TRUE(HasPrefix(grab.LogLines(), "0:下載時主機回應503,放棄這次下載(" + server.Url("/news.htm") + ")"));
        std::filesystem::remove_all(grab.folder / "wwwData");
    }
}

TEST_F(PageIntegrity, AHeadAnswerIsReadOnlyToTheEndOfItsHeader)
{
    // A body after the HEAD header: the header is read, the rest never.
    server.Push(Script().ReadRequest().Send(Reply("200 OK", {"Content-Type: text/plain"})).SendFiller(300 << 20));
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"}, "small")));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(grab.Grab(server.Url("/chatty.txt"), 0), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "chatty.txt"), "small");
    EXPECT_LT(server.BytesSent(), 64 << 20);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST_F(PageIntegrity, AHeaderWithoutEndIsRefusedAfterSixtyFourKilobytes)
{
    server.Push(Script().ReadRequest().Send("HTTP/1.0 200 OK\r\nX-Endless: ").SendFiller(300 << 20));
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"}, "never asked for")));
    EXPECT_EQ(grab.Grab(server.Url("/endless.txt"), 0), 2);
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_TRUE(grab.StoreFiles().empty());
    EXPECT_LT(server.BytesSent(), 64 << 20);
}

TEST_F(PageIntegrity, AGetWhoseHeaderHasNoEndIsAFailedGet)
{
    grab.folder.Write("wwwData/127.0.0.1/g.txt", "older");
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"})));
    server.Push(Script().ReadRequest().Send("HTTP/1.0 200 OK\r\nX-Endless: ").SendFiller(300 << 20));
    EXPECT_EQ(grab.Grab(server.Url("/g.txt"), 0), 1);
    EXPECT_EQ(grab.Stored("127.0.0.1", "g.txt"), "older");
    EXPECT_EQ(grab.StoreFiles(), Files{"127.0.0.1/g.txt"});
    EXPECT_LT(server.BytesSent(), 64 << 20);
    EXPECT_TRUE(HasPrefix(grab.LogLines(), "0:下載時Header格式不對,放棄這次下載(" + server.Url("/g.txt") + ")"));
}

// The first GET of /a.gif sends half its body and waits until the second GET of it has
// sent its whole body; then the first ends too. Both fetch into the store at once.
void OverlappingPicture(ScriptedServer& server, const std::string& firstSent)
{
    const std::string picture = HttpHeader("200 OK", {"Content-Type: image/gif", "Content-Length: 6000"});
    server.PushFor("HEAD /a.gif", Script().Send(picture));
    server.PushFor("HEAD /a.gif", Script().Send(picture));
    server.PushFor("GET /a.gif",
                   Script().Send(picture).SendFiller(3000, 'A').Signal(firstSent).Await("second sent").SendFiller(3000, 'A'));
    server.PushFor("GET /a.gif", Script().Send(picture).SendFiller(6000, 'B').Signal("second sent"));
}

void ExpectOneWholePicture(const GrabFixture& grab)
{
    std::string stored = grab.Stored("127.0.0.1", "a.gif");
    EXPECT_TRUE(stored == std::string(6000, 'A') || stored == std::string(6000, 'B'))
        << stored.size() << " bytes, " << std::count(stored.begin(), stored.end(), 'A') << " of the first answer";
    Files files = grab.StoreFiles();
    EXPECT_TRUE(std::none_of(files.begin(), files.end(),
                             [](const std::string& file) { return file.find(".TMP") != std::string::npos; }));
}

void Serve(ScriptedServer& server, const std::string& path, const std::string& html)
{
    server.PushFor("HEAD " + path, Script().Send(HttpHeader("200 OK", {"Content-Type: text/html"})));
    server.PushFor("GET " + path, Script().Send(Reply("200 OK", {"Content-Type: text/html"}, html)));
}

TEST_F(PageIntegrity, AUrlQueuedAgainAtAHigherLevelWhileItIsFetchedLandsWhole)
{
    // q.htm links a.gif (level 1); p.htm, answered only once a.gif is being fetched, shows
    // it as a picture (level 2), so a second slave fetches it while the first still does.
    server.SetDefault(Script::ByRequest());
    Serve(server, "/", "<a href=\"q.htm\">q</a><a href=\"p.htm\">p</a>");
    Serve(server, "/q.htm", "<a href=\"a.gif\">a</a>");
    server.PushFor("HEAD /p.htm",
                   Script().Await("first half sent").Send(HttpHeader("200 OK", {"Content-Type: text/html"})));
    server.PushFor("GET /p.htm", Script().Send(Reply("200 OK", {"Content-Type: text/html"}, "<img src=\"a.gif\">")));
    OverlappingPicture(server, "first half sent");
    EXPECT_EQ(grab.Grab(server.Url("/"), 3), 0);
    ExpectOneWholePicture(grab);
}

TEST_F(PageIntegrity, OnePageUnderTwoHostNamesLandsWhole)
{
    server.SetDefault(Script::ByRequest());
    const std::string port = std::to_string(server.Port());
    Serve(server, "/",
          "<img src=\"http://localhost:" + port + "/a.gif\"><img src=\"http://127.0.0.1:" + port + "/a.gif\">");
    OverlappingPicture(server, "first half sent");
    EXPECT_EQ(grab.Grab(server.Url("/"), 1), 0);
    ExpectOneWholePicture(grab);
}

// Sends one byte every 100 ms for a minute.
Script& Trickle(Script& script)
{
    for (int i = 0; i < 600; ++i)
        script.Send("a").Pause(100ms);
    return script;
}

TEST_F(PageIntegrity, TheSiteTimeLimitEndsAFetchInProgress)
{
    Settings().maxSiteTime = 1;
    grab.runLimit = 30s;
    grab.folder.Write("wwwData/127.0.0.1/slow.txt", "older");
    struct Case {
        const char* name;
        int connection;  // the one that trickles
    };
    for (const Case& c : {Case{"HEAD", 0}, Case{"GET", 1}}) {
        ScriptedServer slow;
        if (c.connection == 1)
            slow.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"})));
        Script trickle = Script().ReadRequest().Send("HTTP/1.0 200 OK\r\n");
        if (c.connection == 1)
            trickle.Send("Content-Type: text/plain\r\n\r\n");
        slow.Push(Trickle(trickle));
        GrabFixture::clockOffset = 0;
        std::thread jump([&] {
            slow.WaitForConnections(c.connection + 1, 10s);
            std::this_thread::sleep_for(300ms);
            GrabFixture::clockOffset = 2.0 / (24 * 60);  // two minutes pass at once
        });
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(grab.Grab(slow.Url("/slow.txt"), 0), 2) << c.name;
        jump.join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << c.name;
        EXPECT_EQ(grab.Stored("127.0.0.1", "slow.txt"), "older") << c.name;
        EXPECT_EQ(grab.StoreFiles(), Files{"127.0.0.1/slow.txt"}) << c.name;
        auto lines = grab.LogLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "0:" + slow.Url("/slow.txt") + "抓取時間過長,換下一個站台"),
                  lines.end())
            << c.name;
    }
}

// A user interface whose status line and message boxes fail.
class BrokenUi : public ScriptedUi {
public:
    void Status(const std::string& text) override
    {
        ScriptedUi::Status(text);
        if (text.find("不需下載") != std::string::npos)
            throw std::runtime_error("the status line is gone");
    }
    void Error(const std::string& text) override
    {
        ScriptedUi::Error(text);
        throw std::runtime_error("the message box is gone");
    }
};

TEST_F(PageIntegrity, ASlaveEndedByAnEscapingErrorStillEndsTheSite)
{
    BrokenUi ui;
    grab.runLimit = 30s;
    grab.folder.Write("wwwData/127.0.0.1/same.txt", "stored");
    server.SetDefault(Script::ByRequest());
    Serve(server, "/", "<a href=\"same.txt\">same</a>");
    server.PushFor("HEAD /same.txt", Script().Send(HttpHeader(
                                         "200 OK", {"Content-Type: text/plain", "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT"})));
    auto start = std::chrono::steady_clock::now();
    grab.Grab(server.Url("/"), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    EXPECT_TRUE(ui.WasShown("error", "錯誤代碼:1192the status line is gone\rsurlwanted:" + server.Url("/same.txt")
                                         + "\rsFullPath:" + (grab.folder / "wwwData/127.0.0.1/same.txt")
                                         + "\rsresponseCode:200"));
}

}  // namespace
