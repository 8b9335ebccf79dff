// The page server's live fetch of a page that is not stored, from a site served over
// https: directly, or after its http address moved there.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "net/dns.h"
#include "server/errorpage.h"
#include "server/pageserver.h"
#include "server/pageserverhost.h"
#include "support/nginxserver.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"
#include "support/testauthority.h"

using namespace std::chrono_literals;

namespace {

class OnThePhoneBook : public TPageServerHost {
public:
    int CurrentList() const override { return PhoneBookList; }
    bool EnsureConnection() override { return true; }
};

// What a browser gets for one request line sent to port: everything until the close.
std::string Ask(int port, const std::string& url)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    timeval limit{20, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) == 0) {
        std::string request = "GET " + url + " HTTP/1.0\r\n\r\n";
        (void)!::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        char buffer[4096];
        for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return answer;
}

class LiveFetchHttps : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!NginxServer::Available())
            GTEST_SKIP() << "nginx is not installed (Debian package nginx-light)";
        ASSERT_TRUE(authority.Ready()) << authority.Error();
        cache = std::make_unique<TDNS>();
        SetHostCache(cache.get());
        server = std::make_unique<TPageServer>(&host);
        server->TCPServer1.Port = "0";
        server->Open();
        ASSERT_EQ(server->TCPServer1.State(), stListening);
        origin.Write("live.htm", "<html>live over https</html>");
    }
    void TearDown() override
    {
        server.reset();
        SetHostCache(nullptr);
    }

    std::string Browse(const std::string& url)
    {
        auto answer = std::async(std::launch::async, Ask, server->TCPServer1.ListenPort(), url);
        EXPECT_TRUE(WaitOnMain([&] { return answer.wait_for(0s) == std::future_status::ready; }, 30s));
        return answer.get();
    }
    std::unique_ptr<NginxServer> Secure(TestAuthority::Kind kind)
    {
        const TestAuthority::Pair& pair = authority.Server(kind);
        auto nginx = std::make_unique<NginxServer>(origin.Path(), "127.0.0.1",
                                                   NginxServer::Options{pair.certificate, pair.key, ""});
        EXPECT_TRUE(nginx->Running()) << nginx->Error();
        return nginx;
    }

    TestAuthority& authority = TestAuthority::Get();
    TempFolder folder;
    TempFolder origin{TempFolder::Use::Plain};
    ScriptedUi ui;
    OnThePhoneBook host;
    std::unique_ptr<TDNS> cache;
    std::unique_ptr<TPageServer> server;
};

TEST_F(LiveFetchHttps, AnHttpsPageIsFetchedLiveAndPassedOnAsItsBody)
{
    auto secure = Secure(TestAuthority::Kind::Good);
    EXPECT_EQ(Browse(secure->Url("/live.htm")), "<html>live over https</html>");
    // Its http address moved to https, as today's sites do.
    NginxServer plain(origin.Path(), "127.0.0.1",
                      {"", "", "    return 301 https://localhost:" + std::to_string(secure->Port()) + "$request_uri;\n"});
    ASSERT_TRUE(plain.Running()) << plain.Error();
    EXPECT_EQ(Browse(plain.Url("/live.htm")), "<html>live over https</html>");
    EXPECT_TRUE(ui.Shown("error").empty());
}

TEST_F(LiveFetchHttps, ASiteWhoseCertificateFailsItsCheckGivesTheDownloadFailedPage)
{
    auto secure = Secure(TestAuthority::Kind::Expired);
    std::string url = secure->Url("/live.htm");
    EXPECT_EQ(Browse(url), ErrorPage(TErrorPage::DownloadFailed, url));
}

}  // namespace
