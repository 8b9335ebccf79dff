#include <gtest/gtest.h>

#include <algorithm>

#include "core/settings.h"
#include "grabtestkit.h"
#include "support/nginxserver.h"
#include "support/scriptedserver.h"

namespace {

using Script = ScriptedServer::Script;
using Files = std::vector<std::string>;

Files Sorted(Files files)
{
    std::sort(files.begin(), files.end());
    return files;
}

class SiteGrab : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!NginxServer::Available())
            GTEST_SKIP() << "nginx is not installed";
    }
    // Serves the site folder on address once the test has written its pages.
    NginxServer& Serve(const std::string& address = "127.0.0.1")
    {
        nginx = std::make_unique<NginxServer>(site.Path(), address);
        EXPECT_TRUE(nginx->Running()) << nginx->Error();
        return *nginx;
    }

    GrabFixture grab;
    TempFolder site{TempFolder::Use::Plain};
    std::unique_ptr<NginxServer> nginx;
};

TEST_F(SiteGrab, ASiteIsGrabbedToItsDepthWithThePicturesOfItsDeepestPages)
{
    site.Write("index.html", "<html><body><a href=\"a.html\">a</a> <A HREF=b.html>b</A><img src=\"pic.gif\"></body></html>");
    site.Write("a.html", "<html><a href=\"c.html\">c</a><img SRC=apic.gif></html>");
    site.Write("b.html", "<html><a href='index.html'>back</a></html>");
    site.Write("c.html", "<html>too deep</html>");
    site.Write("pic.gif", "GIF89a-pic");
    site.Write("apic.gif", "GIF89a-apic");
    NginxServer& server = Serve();
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 1), 0);
    EXPECT_EQ(Sorted(grab.StoreFiles()),
              (Files{"127.0.0.1/a.html", "127.0.0.1/apic.gif", "127.0.0.1/b.html", "127.0.0.1/index.html",
                     "127.0.0.1/pic.gif"}));
    EXPECT_EQ(grab.Stored("127.0.0.1", "apic.gif"), "GIF89a-apic");
    EXPECT_EQ(grab.Stored("127.0.0.1", "index.html"), site.Read("index.html"));
    auto statuses = grab.scheduler.Statuses();
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "下載中:<alias><" + server.Url("/index.html") + ">"),
              statuses.end());
}

TEST_F(SiteGrab, AHomePageWithoutLinksIsASiteDone)
{
    site.Write("index.html", "<html><body>no links at all</body></html>");
    NginxServer& server = Serve();
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 3), 0);
    EXPECT_EQ(grab.StoreFiles(), Files{"127.0.0.1/index.html"});
    auto statuses = grab.scheduler.Statuses();
    EXPECT_EQ(statuses.back(), "下載完畢:" + server.Url("/index.html"));

    // Depth 0 ("only the home page") is a site done as well.
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 0), 0);
}

TEST_F(SiteGrab, LevelZeroFetchesPicturesButFollowsNoHyperlink)
{
    site.Write("index.html", "<a href=\"next.html\">n</a><img src=\"pic.gif\">");
    site.Write("next.html", "x");
    site.Write("pic.gif", "GIF");
    NginxServer& server = Serve();
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 0), 0);
    EXPECT_EQ(Sorted(grab.StoreFiles()), (Files{"127.0.0.1/index.html", "127.0.0.1/pic.gif"}));
}

TEST_F(SiteGrab, ALinkLoopEndsAndAGrabAgainKeepsThePages)
{
    site.Write("index.html", "<a href=\"a.html\">a</a>");
    site.Write("a.html", "<a href=\"b.html\">b</a>");
    site.Write("b.html", "<a href=\"a.html\">a</a><a href=\"index.html\">home</a>");
    NginxServer& server = Serve();
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 5), 0);
    EXPECT_EQ(grab.StoreFiles().size(), 3u);
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 5), 0);
    EXPECT_EQ(grab.StoreFiles().size(), 3u);
}

TEST_F(SiteGrab, AStartUrlThatASlaveDrawsIsDroppedAndTheSiteEnds)
{
    // The start URL differs from its link in case only, so the link is queued, and a
    // slave that draws it must not wait for it for ever.
    site.Write("Index.html", "<a href=\"index.html\">me</a><a href=\"a.html\">a</a>");
    site.Write("index.html", "lower");
    site.Write("a.html", "a");
    NginxServer& server = Serve();
    EXPECT_EQ(grab.Grab(server.Url("/Index.html"), 2), 0);
    EXPECT_TRUE(grab.IsStored("127.0.0.1", "a.html"));
}

TEST_F(SiteGrab, PagesOnAnotherServerAreRefusedWithoutCrossSite)
{
    ScriptedServer other("127.0.0.2");
    other.SetDefault(Script::Answer("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nforeign"));
    site.Write("index.html", "<a href=\"" + other.Url("/x.txt") + "\">x</a><a href=\"local.html\">l</a>");
    site.Write("local.html", "local");
    NginxServer& server = Serve();
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 1), 0);
    EXPECT_EQ(other.Connections(), 1);  // refused once connected: the peer is not the site's server
    EXPECT_EQ(other.Request(0), "");    // before any request went out
    EXPECT_TRUE(grab.IsStored("127.0.0.1", "local.html"));
    EXPECT_FALSE(grab.IsStored("127.0.0.2", "x.txt"));

    // Once the other host is in the host cache, it is refused before any connection.
    grab.cache->Remember("127.0.0.2", "127.0.0.2");
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 1), 0);
    EXPECT_EQ(other.Connections(), 1);

    // With cross-site grabbing the page is fetched.
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 1, true), 0);
    EXPECT_EQ(grab.Stored("127.0.0.2", "x.txt"), "foreign");
}

TEST_F(SiteGrab, TheSizeLimitHoldsForSlavesButNotForTheHomePage)
{
    Settings().maxFileSize = 2048;
    std::string big(5000, 'x');
    site.Write("index.html", "<a href=\"big.txt\">big</a><a href=\"small.txt\">s</a>" + big);
    site.Write("big.txt", big);
    site.Write("small.txt", "small");
    NginxServer& server = Serve();
    grab.Grab(server.Url("/index.html"), 1);
    EXPECT_TRUE(grab.IsStored("127.0.0.1", "index.html"));  // the home page has no size limit
    EXPECT_FALSE(grab.IsStored("127.0.0.1", "big.txt"));
    EXPECT_TRUE(grab.IsStored("127.0.0.1", "small.txt"));
    bool logged = false;
    for (const std::string& line : grab.LogLines())
        logged = logged || line.find(":檔案太大(共4K),略過本網頁不要下載(" + server.Url("/big.txt") + ")") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST_F(SiteGrab, ABodyGrowingPastTheLimitIsStoppedAndLeavesNoTemporaryFile)
{
    Settings().maxFileSize = 4096;
    ScriptedServer server;
    server.Push(Script::Answer("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"));
    server.Push(Script::Answer("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<a href=\"huge.txt\">h</a>"));
    server.Push(Script::Answer("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n"));
    server.Push(Script().ReadRequest().Send("HTTP/1.0 200 OK\r\n\r\n").Send(std::string(20000, 'z')));
    grab.Grab(server.Url("/"), 1);
    EXPECT_EQ(grab.StoreFiles(), Files{"127.0.0.1/default.htm"});
    bool logged = false;
    for (const std::string& line : grab.LogLines())
        logged = logged || line.find(":檔案已經超過(") != std::string::npos;
    EXPECT_TRUE(logged);
}

}  // namespace
