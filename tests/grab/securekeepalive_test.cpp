// Over TLS a grab thread asks the server to keep its connection and sends its next
// request to that server over it, as long as each answer ends where its length says and
// the server agrees; otherwise, and over plain HTTP always, one request per connection.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "grabtestkit.h"
#include "support/scriptedserver.h"
#include "support/testauthority.h"
#include "support/tlstestserver.h"

namespace {

using Answer = TlsTestServer::Answer;
using Script = ScriptedServer::Script;
using Headers = std::vector<std::string>;

const std::string kKeep = "Connection: keep-alive";

// An answer the server keeps the connection after: its length, and keep-alive.
Answer Kept(const std::string& status, Headers headers, const std::string& body = "", size_t length = std::string::npos)
{
    headers.push_back("Content-Length: " + std::to_string(length == std::string::npos ? body.size() : length));
    headers.push_back(kKeep);
    return Answer{Reply(status, headers, body), true, true};
}

bool AsksToKeep(const std::string& request)
{
    return request.find("\r\n" + kKeep + "\r\n") != std::string::npos;
}

class SecureKeepAlive : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(authority.Ready()) << authority.Error(); }

    TestAuthority& authority = TestAuthority::Get();
    GrabFixture grab;
};

TEST_F(SecureKeepAlive, TheHeadAndGetOfAPageAndItsMovesShareOneConnection)
{
    TlsTestServer server(authority.Server(), [](const std::string& request) {
        if (request.starts_with("HEAD / "))
            return Kept("302 Found", {"Location: /en/page.txt"});
        return Kept("200 OK", {"Content-Type: text/plain"}, request.starts_with("GET") ? "the page" : "", 8);
    });
    EXPECT_EQ(grab.Grab(server.Url("/"), 0), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "default.htm"), "the page");
    EXPECT_EQ(server.Handshakes(), 1);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(requests[0].starts_with("HEAD / HTTP/1.0\r\n")) << requests[0];
    EXPECT_TRUE(requests[1].starts_with("HEAD /en/page.txt HTTP/1.0\r\n")) << requests[1];
    EXPECT_TRUE(requests[2].starts_with("GET /en/page.txt HTTP/1.0\r\n")) << requests[2];
    EXPECT_TRUE(std::all_of(requests.begin(), requests.end(), AsksToKeep));
}

// Each of these answers to HEAD leaves the connection unfit for the GET: it goes over a
// new one, and the page is stored whole all the same. A server that closes the connection
// it said it would keep may do so before or after the GET was sent on it.
TEST_F(SecureKeepAlive, AConnectionTheServerDoesNotKeepOrThatIsOutOfStepIsNotUsedAgain)
{
    struct Case {
        const char* name;
        Answer head;
    };
    const Headers text{"Content-Type: text/plain"};
    for (const Case& c : {Case{"no keep-alive in the answer", Answer{Reply("200 OK", {"Content-Length: 4"}), true, true}},
                          Case{"kept, then closed by the server", Answer{Kept("200 OK", text, "", 4).bytes}},
                          Case{"a body after the HEAD answer", Kept("200 OK", text, "junk")}}) {
        TlsTestServer server(authority.Server(), [&](const std::string& request) {
            return request.starts_with("HEAD") ? c.head : Kept("200 OK", text, "body");
        });
        grab.Grab(server.Url("/page.txt"), 0);
        EXPECT_EQ(grab.Stored("127.0.0.1", "page.txt"), "body") << c.name;
        EXPECT_EQ(server.Handshakes(), 2) << c.name;
        EXPECT_EQ(server.Requests().size(), 2u) << c.name;
        auto lines = grab.LogLines();
        EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find("放棄這次下載") != std::string::npos;
        })) << c.name;
    }
}

// A GET answer without a length ends with the connection, as over plain HTTP; one with
// more bytes than its length is stored to its length.
TEST_F(SecureKeepAlive, AGetAnswerWithoutALengthOrLongerThanItIsStoredAsOverPlainHttp)
{
    struct Case {
        const char* name;
        Answer get;
        std::string stored;
    };
    const Headers text{"Content-Type: text/plain", kKeep};
    for (const Case& c : {Case{"no length", Answer{Reply("200 OK", text, "to the end")}, "to the end"},
                          Case{"longer than its length", Kept("200 OK", {"Content-Type: text/plain"}, "12345extra", 5),
                               "12345"}}) {
        grab.folder.Write("wwwData/127.0.0.1/page.txt", "older");
        TlsTestServer server(authority.Server(), [&](const std::string& request) {
            return request.starts_with("HEAD") ? Kept("200 OK", {"Content-Type: text/plain"}, "", 5) : c.get;
        });
        grab.Grab(server.Url("/page.txt"), 0);
        EXPECT_EQ(grab.Stored("127.0.0.1", "page.txt"), c.stored) << c.name;
        EXPECT_EQ(server.Handshakes(), 1) << c.name;
        EXPECT_EQ(grab.StoreFiles(), std::vector<std::string>{"127.0.0.1/page.txt"}) << c.name;
    }
}

TEST(PlainConnections, PlainHttpAsksOneRequestPerConnectionWithoutKeepAlive)
{
    GrabFixture grab;
    ScriptedServer server;
    // The server offers to keep the connection and does not close it: the answers end by
    // their length, and each request still gets a connection of its own.
    const std::string head = Reply("200 OK", {"Content-Type: text/plain", "Content-Length: 4", kKeep});
    server.Push(Script().ReadRequest().Send(head).Hold());
    server.Push(Script().ReadRequest().Send(head + "body").Hold());
    EXPECT_EQ(grab.Grab(server.Url("/page.txt"), 0), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "page.txt"), "body");
    EXPECT_EQ(server.Connections(), 2);
    EXPECT_EQ(server.Request(0).find("Connection:"), std::string::npos) << server.Request(0);
    EXPECT_EQ(server.Request(1).find("Connection:"), std::string::npos) << server.Request(1);
}

}  // namespace
