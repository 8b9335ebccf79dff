// The live fetch over https, against a TLS server with a certificate of the test
// authority, which the program trusts through SSL_CERT_FILE.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "net/http.h"
#include "net/httptimeouts.h"
#include "net/tcpiperror.h"
#include "support/scriptedserver.h"
#include "support/testauthority.h"
#include "support/tlstestserver.h"

using namespace std::chrono_literals;

namespace {

using Answer = TlsTestServer::Answer;
using Kind = TestAuthority::Kind;

const std::string Ok = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

class HttpTls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(authority.Ready()) << authority.Error();
        SetHttpTimeoutsForTest({2000ms, 2000ms});
    }
    void TearDown() override { SetHttpTimeoutsForTest(THttpTimeouts{}); }

    // The message of what Get raises, or "" when it raises nothing.
    static std::string Failure(THTTP& http)
    {
        try {
            http.Get();
        } catch (const ETcpIpError& error) {
            return error.what();
        }
        return {};
    }

    TestAuthority& authority = TestAuthority::Get();
};

TEST_F(HttpTls, AnHttpsAddressIsFetchedOverTls)
{
    TlsTestServer server(authority.Server(), [](const std::string& request) {
        return Answer{request.starts_with("HEAD") ? Ok : Ok + "secret page"};
    });
    for (const char* host : {"127.0.0.1", "localhost"}) {
        THTTP http;
        http.URL = "https://" + std::string(host) + ":" + std::to_string(server.Port()) + "/page.htm";
        EXPECT_EQ(Failure(http), "") << host;
        EXPECT_EQ(http.Body(), "secret page") << host;
    }
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_TRUE(requests[1].starts_with("GET /page.htm HTTP/1.0\r\nAccept: */*\r\nUser-Agent: Zanvik/")) << requests[1];
    EXPECT_EQ(server.ServerNames(), (std::vector<std::string>{"", "", "localhost", "localhost"}));
}

TEST_F(HttpTls, AnHttpAddressMovedToHttpsIsFetchedThere)
{
    TlsTestServer secure(authority.Server(), [](const std::string&) { return Answer{Ok + "moved to https"}; });
    ScriptedServer plain;
    plain.Push(ScriptedServer::Script::Answer("HTTP/1.1 301 Moved Permanently\r\nLocation: " + secure.Url("/here.htm")
                                              + "\r\n\r\n"));
    THTTP http;
    http.URL = plain.Url("/here.htm");
    EXPECT_EQ(Failure(http), "");
    EXPECT_EQ(http.Body(), "moved to https");
    EXPECT_TRUE(http.Secure);
    ASSERT_EQ(secure.Requests().size(), 1u);
    EXPECT_TRUE(secure.Requests()[0].starts_with("GET /here.htm HTTP/1.0\r\n"));

    // An https location without a port means 443 there.
    plain.Push(ScriptedServer::Script::Answer("HTTP/1.0 302 Found\r\nLocation: https://127.0.0.3/x.htm\r\n\r\n"));
    THTTP other;
    other.URL = plain.Url("/old.htm");
    Failure(other);  // whether anything answers on port 443 there does not matter here
    EXPECT_EQ(other.Host, "127.0.0.3");
    EXPECT_EQ(other.Port, 443);
    EXPECT_TRUE(other.Secure);
}

TEST_F(HttpTls, ACertificateThatFailsItsCheckFailsTheFetch)
{
    for (Kind kind : {Kind::Expired, Kind::UnknownAuthority, Kind::OtherName}) {
        TlsTestServer server(authority.Server(kind), [](const std::string&) { return Answer{Ok + "x"}; });
        THTTP http;
        http.URL = server.Url("/");
        std::string failure = Failure(http);
        EXPECT_TRUE(failure.starts_with("Secure connection to 127.0.0.1 failed: certificate verify failed: "))
            << failure;
        EXPECT_EQ(http.Body(), "");
        EXPECT_TRUE(server.Requests().empty());
    }
}

TEST_F(HttpTls, AServerThatStopsInTheHandshakeFailsWithinTheConnectTime)
{
    SetHttpTimeoutsForTest({500ms, 2000ms});
    ScriptedServer silent;
    silent.SetDefault(ScriptedServer::Script().Hold());
    THTTP http;
    http.URL = "https://127.0.0.1:" + std::to_string(silent.Port()) + "/";
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Failure(http), "Secure connection to 127.0.0.1 failed: the handshake took too long");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1900ms);
}

TEST_F(HttpTls, ABodyEndedWithoutCloseNotifyCountsOnlyWhenItsLengthShowsItWhole)
{
    struct Case {
        std::string header;
        std::string failure;
    };
    for (const Case& c : {Case{"HTTP/1.0 200 OK\r\n\r\n", "Secure connection to localhost closed without close_notify"},
                          Case{"HTTP/1.0 200 OK\r\nContent-Length: 3000\r\n\r\n", ""}}) {
        TlsTestServer server(authority.Server(), [&](const std::string& request) {
            if (request.starts_with("HEAD"))
                return Answer{c.header};
            return Answer{c.header + std::string(3000, 'b'), false};
        });
        THTTP http;
        http.URL = "https://localhost:" + std::to_string(server.Port()) + "/cut.htm";
        EXPECT_EQ(Failure(http), c.failure) << c.header;
        EXPECT_TRUE(http.CutShort());
    }
}

}  // namespace
