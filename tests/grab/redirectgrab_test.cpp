// Pages that have moved: followed within the site (any site with cross-site grabbing) at
// most five times; every other move keeps the error it always had, with a log line.
#include <gtest/gtest.h>

#include <algorithm>

#include "grabtestkit.h"
#include "support/scriptedserver.h"

namespace {

using Script = ScriptedServer::Script;
using Files = std::vector<std::string>;

std::string Moved(const std::string& location, const std::string& status = "301 Moved Permanently")
{
    return Reply(status, {"Location: " + location, "Content-Type: text/html"}, "<a href=\"trap.htm\">moved</a>");
}

bool LoggedStart(const std::vector<std::string>& lines, const std::string& prefix)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(prefix); });
}

class RedirectGrab : public ::testing::Test {
protected:
    GrabFixture grab;
    ScriptedServer server;
};

TEST_F(RedirectGrab, AMovedPageIsFetchedFromItsNewPlaceAndStoredUnderTheOldOne)
{
    server.Push(Script::Answer(Moved("/new/page.htm", "302 Found")));
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/html"})));
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/html"}, "<img src=\"pic.gif\">")));
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: image/gif"})));
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: image/gif"}, "GIF89a")));
    EXPECT_EQ(grab.Grab(server.Url("/old.htm"), 1), 0);
    EXPECT_TRUE(server.Request(1).starts_with("HEAD /new/page.htm HTTP/1.0\r\n")) << server.Request(1);
    EXPECT_TRUE(server.Request(2).starts_with("GET /new/page.htm HTTP/1.0\r\n")) << server.Request(2);
    // The link resolves against the address that answered.
    EXPECT_TRUE(server.Request(3).starts_with("HEAD /new/pic.gif HTTP/1.0\r\n")) << server.Request(3);
    EXPECT_EQ(Files({"127.0.0.1/new/pic.gif", "127.0.0.1/old.htm"}), [&] {
        Files files = grab.StoreFiles();
        std::sort(files.begin(), files.end());
        return files;
    }());
    EXPECT_EQ(grab.Stored("127.0.0.1", "old.htm"), "<img src=\"pic.gif\">");
}

TEST_F(RedirectGrab, AGetAnswerThatMovesThePageIsFollowedAsAHeadAnswerIs)
{
    grab.folder.Write("wwwData/127.0.0.1/page.htm", "the copy the user had");
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/html"})));
    server.Push(Script::Answer(Moved("/moved.htm", "307 Temporary Redirect")));
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/html"})));
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/html"}, "the page where it is now")));
    grab.Grab(server.Url("/page.htm"), 0);
    EXPECT_TRUE(server.Request(2).starts_with("HEAD /moved.htm HTTP/1.0\r\n")) << server.Request(2);
    EXPECT_TRUE(server.Request(3).starts_with("GET /moved.htm HTTP/1.0\r\n")) << server.Request(3);
    EXPECT_EQ(grab.Stored("127.0.0.1", "page.htm"), "the page where it is now");
    EXPECT_EQ(grab.StoreFiles(), Files{"127.0.0.1/page.htm"});

    // One that may not be followed keeps the older copy.
    server.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/html"})));
    server.Push(Script::Answer(Moved("ftp://127.0.0.1/page.htm")));
    grab.Grab(server.Url("/page.htm"), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "page.htm"), "the page where it is now");
    EXPECT_TRUE(grab.LogLines().back().ends_with("):新網址不是http或https")) << grab.LogLines().back();
}

TEST_F(RedirectGrab, AMoveToAnotherHostIsFollowedOnlyWithCrossSite)
{
    ScriptedServer other("127.0.0.2");
    other.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"})));
    other.Push(Script::Answer(Reply("200 OK", {"Content-Type: text/plain"}, "over there")));
    std::string there = other.Url("/there.txt");
    server.SetDefault(Script::Answer(Moved(there)));

    EXPECT_EQ(grab.Grab(server.Url("/here.txt"), 0), 2);
    EXPECT_EQ(other.Connections(), 0);
    EXPECT_TRUE(grab.StoreFiles().empty());
    EXPECT_TRUE(LoggedStart(grab.LogLines(), "0:網頁搬家了,沒有跟過去(301 " + server.Url("/here.txt") + " -> " + there
                                                 + "):新網址在別的站台"));

    grab.Grab(server.Url("/here.txt"), 0, true);
    // Filed under the address asked for, in its host's folder.
    EXPECT_EQ(grab.StoreFiles(), Files{"127.0.0.1/here.txt"});
    EXPECT_EQ(grab.Stored("127.0.0.1", "here.txt"), "over there");
}

TEST_F(RedirectGrab, MovesThatAreNoAddressOfTheSiteStoreNothing)
{
    std::string url = server.Url("/page.htm");
    struct Case {
        std::string location;
        std::string reason;
    };
    for (const Case& c : {Case{"file:///etc/passwd", "新網址不是http或https"},
                          Case{"ftp://127.0.0.1/page.htm", "新網址不是http或https"},
                          Case{"//127.0.0.2/page.htm", "新網址在別的站台"},
                          Case{"/a b.htm", "新網址格式不對"},
                          Case{"/a\x01" "b.htm", "新網址格式不對"},
                          Case{"/" + std::string(2000, 'a'), "新網址格式不對"},
                          Case{"", "沒有新網址"}}) {
        int before = server.Connections();
        server.Push(Script::Answer(Moved(c.location)));
        EXPECT_EQ(grab.Grab(url, 1), 2) << c.reason;
        EXPECT_EQ(server.Connections(), before + 1) << c.reason;
        EXPECT_TRUE(grab.StoreFiles().empty()) << c.reason;
        EXPECT_TRUE(LoggedStart(grab.LogLines(), "0:網頁搬家了,沒有跟過去(301 " + url + " -> ")) << c.reason;
        auto lines = grab.LogLines();
        EXPECT_TRUE(lines.back().ends_with("):" + c.reason)) << lines.back();
        // Nothing of the network's bytes reaches the log unshown.
        EXPECT_EQ(lines.back().find('\x01'), std::string::npos);
        EXPECT_LT(lines.back().size(), 400u);
    }
}

TEST_F(RedirectGrab, ALoopOrASixthMoveEndsWithTheMovedError)
{
    server.Push(Script::Answer(Moved("/b.htm")));
    server.Push(Script::Answer(Moved("/a.htm")));
    EXPECT_EQ(grab.Grab(server.Url("/a.htm"), 1), 2);
    EXPECT_EQ(server.Connections(), 2);
    EXPECT_TRUE(grab.LogLines().back().ends_with("):轉址繞回原處"));

    int before = server.Connections();
    for (int hop = 1; hop <= 6; ++hop)
        server.Push(Script::Answer(Moved("/" + std::to_string(hop) + ".htm")));
    EXPECT_EQ(grab.Grab(server.Url("/0.htm"), 1), 2);
    EXPECT_EQ(server.Connections(), before + 6);  // five moves followed, the sixth refused
    EXPECT_TRUE(grab.LogLines().back().ends_with("):轉址次數太多"));
    EXPECT_TRUE(grab.StoreFiles().empty());
}

TEST_F(RedirectGrab, AHostKeepsTheFolderOfItsFirstAddressAndIsNoStrangerToItself)
{
    // The host was first reached at another address, which no longer answers.
    grab.folder.Write("dns.ini", "[www]\nlocalhost=127.0.0.9\n");
    grab.cache = std::make_unique<TDNS>();
    SetHostCache(grab.cache.get());
    server.SetDefault(Script::Answer(Reply("200 OK", {"Content-Type: text/html"}, "<a href=\"a.htm\">a</a>")));
    std::string url = "http://localhost:" + std::to_string(server.Port()) + "/index.htm";
    EXPECT_EQ(grab.Grab(url, 1), 0);
    Files files = grab.StoreFiles();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Files{"127.0.0.9/a.htm", "127.0.0.9/index.htm"}));
    EXPECT_EQ(grab.cache->Lookup("localhost"), "127.0.0.9");
}

}  // namespace
