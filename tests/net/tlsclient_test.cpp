#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include "core/mainthread.h"
#include "core/text.h"
#include "net/tcpclient.h"
#include "net/tlserrors.h"
#include "support/nginxserver.h"
#include "support/scriptedserver.h"
#include "support/tempfolder.h"
#include "support/testauthority.h"
#include "support/tlstestserver.h"

using namespace std::chrono_literals;

namespace {

using Kind = TestAuthority::Kind;

// A secure client that sends one request once connected and gathers the answer, read in
// pieces of at most 1024 bytes as the grabber reads bodies.
struct SecureExchange {
    SecureExchange(const std::string& host, int port, const std::string& request = "")
    {
        client.Secure = true;
        client.Host = host;
        client.Port = std::to_string(port);
        client.OnError = [this](TCustomSocket*, int error, const std::string& msg) {
            errors.push_back(error);
            texts.push_back(msg);
        };
        client.OnConnect = [this, request](TCustomSocket*, int) {
            ++connects;
            if (!request.empty())
                client.Send(request);
        };
        client.OnData = [this](TCustomSocket*, int) {
            char buffer[1024];
            long count = client.ReceiveBuf(buffer, sizeof buffer);
            if (count > 0)
                received.append(buffer, static_cast<size_t>(count));
        };
        client.OnClose = [this](TCustomSocket*, int) { ++closes; };
        client.Connect();
    }
    bool WaitForEnd(std::chrono::milliseconds limit = 10s)
    {
        return WaitOnMain([this] { return closes > 0 || !errors.empty(); }, limit);
    }
    std::string Words() const { return texts.empty() ? std::string() : texts.front(); }

    TTCPClient client;
    std::vector<int> errors;
    std::vector<std::string> texts;
    int connects = 0;
    int closes = 0;
    std::string received;
};

class TlsClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(authority.Ready()) << authority.Error();
    }
    std::string Request(const std::string& path, const std::string& host = "localhost")
    {
        return "GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
    }
    std::unique_ptr<NginxServer> Nginx(Kind kind)
    {
        const TestAuthority::Pair& pair = authority.Server(kind);
        auto server = std::make_unique<NginxServer>(site.Path(), "127.0.0.1",
                                                    NginxServer::Options{pair.certificate, pair.key, ""});
        EXPECT_TRUE(server->Running()) << server->Error();
        return server;
    }

    TestAuthority& authority = TestAuthority::Get();
    TempFolder site{TempFolder::Use::Plain};
};

TEST_F(TlsClient, AServerWithACertificateOfATrustedAuthorityIsReadByAddressAndByName)
{
    if (!NginxServer::Available())
        GTEST_SKIP() << "nginx is not installed";
    std::string page(300000, 'x');
    for (size_t i = 0; i < page.size(); i += 97)
        page[i] = static_cast<char>('a' + i % 26);
    site.Write("big.html", page);
    auto nginx = Nginx(Kind::Good);
    for (const char* host : {"127.0.0.1", "localhost"}) {
        SecureExchange exchange(host, nginx->Port(), Request("/big.html", host));
        ASSERT_TRUE(exchange.WaitForEnd()) << host;
        EXPECT_TRUE(exchange.errors.empty()) << host << ": " << exchange.Words();
        EXPECT_EQ(exchange.connects, 1) << host;
        EXPECT_EQ(exchange.closes, 1) << host;
        // Every byte, though the session holds more than the socket shows after each read.
        size_t body = exchange.received.find("\r\n\r\n");
        ASSERT_NE(body, std::string::npos) << host;
        EXPECT_TRUE(exchange.received.starts_with("HTTP/1.1 200 OK")) << host;
        EXPECT_TRUE(exchange.received.substr(body + 4) == page) << host << ": " << exchange.received.size();
        EXPECT_EQ(exchange.client.State(), stClosed) << host;
    }
}

TEST_F(TlsClient, ACertificateThatFailsItsCheckEndsTheConnectionBeforeOnConnect)
{
    struct Case {
        Kind kind;
        const char* host;
        const char* words;
    };
    for (const Case& c : {Case{Kind::Expired, "127.0.0.1", "certificate has expired"},
                          Case{Kind::SelfSigned, "localhost", "self-signed certificate"},
                          Case{Kind::UnknownAuthority, "127.0.0.1", "unable to get local issuer certificate"},
                          Case{Kind::OtherName, "localhost", "hostname mismatch"},
                          Case{Kind::OtherName, "127.0.0.1", "IP address mismatch"}}) {
        TlsTestServer server(authority.Server(c.kind), [](const std::string&) {
            return TlsTestServer::Answer{"HTTP/1.0 200 OK\r\n\r\nsecret"};
        });
        ASSERT_TRUE(server.Running()) << server.Error();
        SecureExchange exchange(c.host, server.Port(), Request("/"));
        ASSERT_TRUE(exchange.WaitForEnd()) << c.words;
        ASSERT_EQ(exchange.errors, std::vector<int>{TLS_E_FAILED}) << c.words;
        EXPECT_EQ(exchange.Words(), std::string("Secure connection failed: certificate verify failed: ") + c.words);
        EXPECT_EQ(exchange.connects, 0) << c.words;
        EXPECT_EQ(exchange.received, "") << c.words;
        EXPECT_EQ(exchange.client.State(), stClosed) << c.words;
        EXPECT_EQ(exchange.client.Handle(), -1) << c.words;
        EXPECT_TRUE(server.Requests().empty()) << c.words;
    }
}

TEST_F(TlsClient, APlainServerOnTheSecurePortIsRefused)
{
    if (!NginxServer::Available())
        GTEST_SKIP() << "nginx is not installed";
    NginxServer plain(site.Path());
    ASSERT_TRUE(plain.Running()) << plain.Error();
    SecureExchange exchange("127.0.0.1", plain.Port(), Request("/"));
    ASSERT_TRUE(exchange.WaitForEnd());
    ASSERT_EQ(exchange.errors, std::vector<int>{TLS_E_FAILED});
    EXPECT_TRUE(exchange.Words().starts_with("Secure connection failed: ")) << exchange.Words();
    EXPECT_EQ(exchange.connects, 0);
    EXPECT_EQ(exchange.closes, 0);
}

TEST_F(TlsClient, AServerThatStopsInTheHandshakeNeverConnects)
{
    ScriptedServer silent;
    silent.Push(ScriptedServer::Script().Hold());
    SecureExchange exchange("127.0.0.1", silent.Port(), Request("/"));
    EXPECT_FALSE(exchange.WaitForEnd(1500ms));
    EXPECT_EQ(exchange.connects, 0);
    EXPECT_EQ(exchange.client.State(), stConnecting);
    // The client hello went out; the rest is the caller's time-out.
    EXPECT_GT(silent.Request(0).size(), 0u);
    exchange.client.Close();
    EXPECT_EQ(exchange.client.State(), stClosed);
}

TEST_F(TlsClient, AServerThatClosesInTheHandshakeFailsIt)
{
    ScriptedServer quitter;
    // Reads the client hello and closes without a word.
    quitter.Push(ScriptedServer::Script().ReadAll(200ms));
    SecureExchange exchange("127.0.0.1", quitter.Port(), Request("/"));
    ASSERT_TRUE(exchange.WaitForEnd());
    ASSERT_EQ(exchange.errors, std::vector<int>{TLS_E_FAILED});
    EXPECT_EQ(exchange.connects, 0);
    EXPECT_EQ(exchange.client.State(), stClosed);
}

TEST_F(TlsClient, AnEndWithoutCloseNotifyIsReportedBeforeOnClose)
{
    std::string header = "HTTP/1.0 200 OK\r\nContent-Length: 10000\r\n\r\n";
    for (bool notify : {true, false}) {
        TlsTestServer server(authority.Server(), [&](const std::string&) {
            return TlsTestServer::Answer{header + std::string(3000, 'b'), notify};
        });
        SecureExchange exchange("localhost", server.Port(), Request("/cut.htm"));
        std::vector<std::string> order;
        exchange.client.OnError = [&](TCustomSocket*, int error, const std::string& msg) {
            exchange.errors.push_back(error);
            exchange.texts.push_back(msg);
            order.push_back("error");
        };
        exchange.client.OnClose = [&](TCustomSocket*, int) {
            ++exchange.closes;
            order.push_back("close");
        };
        ASSERT_TRUE(WaitOnMain([&] { return exchange.closes > 0; }, 10s)) << notify;
        EXPECT_EQ(exchange.received, header + std::string(3000, 'b')) << notify;
        EXPECT_EQ(server.Requests().size(), 1u);
        if (notify) {
            EXPECT_TRUE(exchange.errors.empty()) << exchange.Words();
            EXPECT_EQ(order, std::vector<std::string>{"close"});
        } else {
            EXPECT_EQ(exchange.errors, std::vector<int>{TLS_E_CUT_SHORT});
            EXPECT_TRUE(exchange.Words().starts_with("Secure connection closed without close_notify"))
                << exchange.Words();
            EXPECT_EQ(order, (std::vector<std::string>{"error", "close"}));
        }
    }
}

TEST_F(TlsClient, OnlyTls12And13AreSpoken)
{
    struct Case {
        int version;
        bool spoken;
    };
    for (const Case& c : {Case{TLS1_1_VERSION, false}, Case{TLS1_2_VERSION, true}, Case{TLS1_3_VERSION, true}}) {
        TlsTestServer::Options options;
        options.minVersion = c.version;
        options.maxVersion = c.version;
        TlsTestServer server(
            authority.Server(),
            [](const std::string&) { return TlsTestServer::Answer{"HTTP/1.0 200 OK\r\n\r\nhello"}; }, options);
        ASSERT_TRUE(server.Running()) << server.Error();
        SecureExchange exchange("localhost", server.Port(), Request("/"));
        ASSERT_TRUE(exchange.WaitForEnd()) << c.version;
        if (c.spoken) {
            EXPECT_TRUE(exchange.errors.empty()) << c.version << ": " << exchange.Words();
            EXPECT_EQ(exchange.received, "HTTP/1.0 200 OK\r\n\r\nhello") << c.version;
        } else {
            EXPECT_EQ(exchange.errors, std::vector<int>{TLS_E_FAILED}) << c.version;
            EXPECT_EQ(exchange.connects, 0) << c.version;
            EXPECT_EQ(server.Handshakes(), 0) << c.version;
        }
    }
}

TEST_F(TlsClient, TheServerLearnsTheNameItIsAskedFor)
{
    TlsTestServer server(authority.Server(), [](const std::string&) {
        return TlsTestServer::Answer{"HTTP/1.0 200 OK\r\n\r\n"};
    });
    SecureExchange byName("localhost", server.Port(), Request("/"));
    ASSERT_TRUE(byName.WaitForEnd());
    EXPECT_TRUE(byName.errors.empty()) << byName.Words();
    EXPECT_EQ(server.ServerNames(), std::vector<std::string>{"localhost"});
    SecureExchange byAddress("127.0.0.1", server.Port(), Request("/"));
    ASSERT_TRUE(byAddress.WaitForEnd());
    // Names only: an address is never sent as a server name.
    EXPECT_EQ(server.ServerNames(), (std::vector<std::string>{"localhost", ""}));
}

TEST_F(TlsClient, ASessionIsResumedOnlyWithTheHostItWasMadeFor)
{
    TlsTestServer server(authority.Server(), [](const std::string&) {
        return TlsTestServer::Answer{"HTTP/1.0 200 OK\r\n\r\nagain"};
    });
    for (const char* host : {"localhost", "localhost", "127.0.0.1", "localhost"}) {
        SecureExchange exchange(host, server.Port(), Request("/"));
        ASSERT_TRUE(exchange.WaitForEnd()) << host;
        EXPECT_TRUE(exchange.errors.empty()) << host << ": " << exchange.Words();
        EXPECT_EQ(exchange.received, "HTTP/1.0 200 OK\r\n\r\nagain") << host;
    }
    // The second visit to a name spares the certificate; a session of one name is never
    // offered to another, whose certificate is checked in full.
    EXPECT_EQ(server.Resumed(), (std::vector<bool>{false, true, false, true}));
}

TEST_F(TlsClient, ASessionCutShortIsNotResumed)
{
    bool notify = false;
    TlsTestServer server(authority.Server(), [&](const std::string&) {
        return TlsTestServer::Answer{"HTTP/1.0 200 OK\r\n\r\nanswer", notify};
    });
    for (bool whole : {false, true, true}) {
        notify = whole;
        SecureExchange exchange("localhost", server.Port(), Request("/"));
        ASSERT_TRUE(WaitOnMain([&] { return exchange.closes > 0; }, 10s));
    }
    EXPECT_EQ(server.Resumed(), (std::vector<bool>{false, false, true}));
}

}  // namespace
