// Grabs over https from nginx and a small TLS server with certificates of a test
// authority, which the program trusts through SSL_CERT_FILE; and the secure servers that
// must store nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "core/settings.h"
#include "grab/grabtimings.h"
#include "grabtestkit.h"
#include "support/nginxserver.h"
#include "support/scriptedserver.h"
#include "support/testauthority.h"
#include "support/tlstestserver.h"

namespace {

using Files = std::vector<std::string>;
using Kind = TestAuthority::Kind;
using Answer = TlsTestServer::Answer;

Files Sorted(Files files)
{
    std::sort(files.begin(), files.end());
    return files;
}

bool Logged(const std::vector<std::string>& lines, const std::string& text)
{
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

class SiteGrabHttps : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(authority.Ready()) << authority.Error(); }

    bool NginxMissing() const { return !NginxServer::Available(); }
    NginxServer& ServeSecure(const std::string& lines = "")
    {
        const TestAuthority::Pair& pair = authority.Server();
        secure = std::make_unique<NginxServer>(site.Path(), "127.0.0.1", NginxServer::Options{pair.certificate, pair.key, lines});
        EXPECT_TRUE(secure->Running()) << secure->Error();
        return *secure;
    }
    void WriteSite()
    {
        site.Write("index.html", "<html><a href=\"a.html\">a</a><img src=\"pic.gif\"></html>");
        site.Write("a.html", "<html><a href=\"b.html\">b</a><img src='apic.gif'></html>");
        site.Write("b.html", "<html><a href=\"c.html\">c</a><img src=bpic.gif></html>");
        site.Write("c.html", "too deep");
        for (const char* picture : {"pic.gif", "apic.gif", "bpic.gif"})
            site.Write(picture, std::string("GIF89a-") + picture);
    }

    TestAuthority& authority = TestAuthority::Get();
    GrabFixture grab;
    TempFolder site{TempFolder::Use::Plain};
    std::unique_ptr<NginxServer> secure;
};

const Files kSiteToDepthTwo{"127.0.0.1/a.html", "127.0.0.1/apic.gif", "127.0.0.1/b.html",
                            "127.0.0.1/bpic.gif", "127.0.0.1/index.html", "127.0.0.1/pic.gif"};

TEST_F(SiteGrabHttps, ASiteIsGrabbedToDepthTwoWithItsPicturesByAddressAndByName)
{
    if (NginxMissing())
        GTEST_SKIP() << "nginx is not installed";
    WriteSite();
    // Pages in a character set, as nearly every site sends them today, are scanned too.
    NginxServer& server = ServeSecure("    charset utf-8;\n");
    EXPECT_EQ(grab.Grab(server.Url("/index.html"), 2), 0);
    EXPECT_EQ(Sorted(grab.StoreFiles()), kSiteToDepthTwo);
    EXPECT_EQ(grab.Stored("127.0.0.1", "b.html"), site.Read("b.html"));
    EXPECT_EQ(grab.Stored("127.0.0.1", "bpic.gif"), "GIF89a-bpic.gif");

    // By a name the host cache maps to the same address: the same folder.
    std::filesystem::remove_all(grab.folder / "wwwData");
    std::string byName = "https://localhost:" + std::to_string(server.Port()) + "/index.html";
    EXPECT_EQ(grab.Grab(byName, 2), 0);
    EXPECT_EQ(grab.cache->Lookup("localhost"), "127.0.0.1");
    EXPECT_EQ(Sorted(grab.StoreFiles()), kSiteToDepthTwo);
}

TEST_F(SiteGrabHttps, AnHttpStartPageThatMovesToHttpsIsGrabbedUnderItsOwnAddress)
{
    if (NginxMissing())
        GTEST_SKIP() << "nginx is not installed";
    WriteSite();
    NginxServer& server = ServeSecure();
    NginxServer plain(site.Path(), "127.0.0.1",
                      {"", "", "    return 301 https://127.0.0.1:" + std::to_string(server.Port()) + "$request_uri;\n"});
    ASSERT_TRUE(plain.Running()) << plain.Error();
    EXPECT_EQ(grab.Grab(plain.Url("/index.html"), 2), 0);
    EXPECT_EQ(Sorted(grab.StoreFiles()), kSiteToDepthTwo);
    EXPECT_EQ(grab.Stored("127.0.0.1", "index.html"), site.Read("index.html"));
}

TEST_F(SiteGrabHttps, APageMovedWithinItsSiteIsStoredUnderTheAddressAskedForItsLinksUnderTheirs)
{
    if (NginxMissing())
        GTEST_SKIP() << "nginx is not installed";
    site.Write("en/index.html", "<a href=\"a.html\">a</a>");
    site.Write("en/a.html", "english a");
    NginxServer& server = ServeSecure("    location = / { return 302 /en/index.html; }\n");
    EXPECT_EQ(grab.Grab(server.Url("/"), 1), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "default.htm"), site.Read("en/index.html"));
    EXPECT_EQ(grab.Stored("127.0.0.1", "en/a.html"), "english a");
}

TEST_F(SiteGrabHttps, ACertificateThatFailsItsCheckStoresNothingAndSaysWhy)
{
    struct Case {
        Kind kind;
        std::string host;
        std::string words;
    };
    for (const Case& c : {Case{Kind::Expired, "127.0.0.1", "certificate has expired"},
                          Case{Kind::SelfSigned, "localhost", "self-signed certificate"},
                          Case{Kind::UnknownAuthority, "127.0.0.1", "unable to get local issuer certificate"},
                          Case{Kind::OtherName, "localhost", "hostname mismatch"}}) {
        TlsTestServer server(authority.Server(c.kind), [](const std::string&) {
            return Answer{Reply("200 OK", {"Content-Type: text/html"}, "<a href=\"x.htm\">x</a>")};
        });
        std::string url = "https://" + c.host + ":" + std::to_string(server.Port()) + "/";
        EXPECT_EQ(grab.Grab(url, 1), 2) << c.words;
        EXPECT_TRUE(grab.StoreFiles().empty()) << c.words;
        EXPECT_TRUE(server.Requests().empty()) << c.words;
        EXPECT_TRUE(Logged(grab.LogLines(), "0:無法建立安全連線(" + url
                                                + ")(Secure connection failed: certificate verify failed: " + c.words
                                                + ")"))
            << c.words;
    }
}

TEST_F(SiteGrabHttps, APlainServerOnTheSecurePortStoresNothing)
{
    if (NginxMissing())
        GTEST_SKIP() << "nginx is not installed";
    NginxServer plain(site.Path());
    ASSERT_TRUE(plain.Running()) << plain.Error();
    std::string url = "https://127.0.0.1:" + std::to_string(plain.Port()) + "/";
    EXPECT_EQ(grab.Grab(url, 1), 2);
    EXPECT_TRUE(grab.StoreFiles().empty());
    auto lines = grab.LogLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.starts_with("0:無法建立安全連線(" + url + ")(Secure connection failed: ");
    }));
}

TEST_F(SiteGrabHttps, AServerThatStopsInTheHandshakeIsGivenUpAfterTheConnectTime)
{
    TGrabTimings timings;
    timings.connectPasses = 10;
    timings.connectPassMs = 50;
    SetGrabTimingsForTest(timings);
    ScriptedServer silent;
    silent.SetDefault(ScriptedServer::Script().Hold());
    std::string url = "https://127.0.0.1:" + std::to_string(silent.Port()) + "/";
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(grab.Grab(url, 1), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_TRUE(grab.StoreFiles().empty());
    EXPECT_TRUE(Logged(grab.LogLines(), "0:主機沒有回應(" + url + ")"));
}

// HEAD answers carry the length; GET answers end with or without close_notify.
TEST_F(SiteGrabHttps, AnAnswerEndedWithoutCloseNotifyIsKeptOnlyWhenItsLengthShowsItWhole)
{
    struct Case {
        const char* name;
        std::vector<std::string> headers;
        size_t sent;
        bool notify;
        bool stored;
    };
    for (const Case& c : {Case{"cut short, with a length", {"Content-Length: 10000"}, 3000, false, false},
                          Case{"no length to tell", {}, 3000, false, false},
                          Case{"whole by its length", {"Content-Length: 3000"}, 3000, false, true},
                          Case{"closed as it should", {}, 3000, true, true}}) {
        grab.folder.Write("wwwData/127.0.0.1/page.txt", "the copy the user had");
        TlsTestServer server(authority.Server(), [&](const std::string& request) {
            if (request.starts_with("HEAD"))
                return Answer{Reply("200 OK", c.headers)};
            return Answer{Reply("200 OK", c.headers, std::string(c.sent, 'n')), c.notify};
        });
        grab.Grab(server.Url("/page.txt"), 0);
        EXPECT_EQ(grab.Stored("127.0.0.1", "page.txt"),
                  c.stored ? std::string(c.sent, 'n') : std::string("the copy the user had"))
            << c.name;
        EXPECT_EQ(grab.StoreFiles(), Files{"127.0.0.1/page.txt"}) << c.name;
        EXPECT_EQ(server.Requests().size(), 2u) << c.name;
        EXPECT_EQ(Logged(grab.LogLines(), "0:安全連線沒有正常結束,放棄這次下載(" + server.Url("/page.txt") + ")"),
                  !c.stored)
            << c.name;
    }
}

TEST_F(SiteGrabHttps, EveryRequestNamesZanvik)
{
    TlsTestServer server(authority.Server(), [](const std::string&) { return Answer{Reply("200 OK", {}, "x")}; });
    grab.Grab(server.Url("/x.txt"), 0);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const std::string& request : requests)
        EXPECT_NE(request.find("\r\nUser-Agent: Zanvik/"), std::string::npos) << request;
}

}  // namespace
