#include <chrono>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "core/text.h"
#include "net/tcpclient.h"
#include "net/tcpserver.h"
#include "platform/socketerrors.h"
#include "support/nginxserver.h"
#include "support/scriptedserver.h"

using namespace std::chrono_literals;

namespace {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5000ms)
{
    return WaitOnMain(done, timeout);
}

// Records what a client raises.
struct ClientEvents {
    explicit ClientEvents(TTCPClient& client)
    {
        client.OnError = [this](TCustomSocket*, int error, const std::string& msg) {
            errors.push_back(error);
            texts.push_back(msg);
        };
        client.OnConnect = [this](TCustomSocket*, int) { ++connects; };
        client.OnWrite = [this](TCustomSocket*, int) { ++writes; };
        client.OnClose = [this](TCustomSocket*, int) { ++closes; };
        client.OnData = [this, &client](TCustomSocket*, int) {
            ++datas;
            if (!readInHandler)
                return;
            std::string text;
            client.Receive(text);
            received += text;
        };
    }
    std::vector<int> errors;
    std::vector<std::string> texts;
    int connects = 0;
    int writes = 0;
    int closes = 0;
    int datas = 0;
    bool readInHandler = true;
    std::string received;
};

}  // namespace

TEST(TCPClient, TalksWithServerThroughEvents)
{
    TTCPServer server;
    server.BindAddress = "127.0.0.1";
    server.Port = "0";
    int accepted = -1;
    int serverCloses = 0;
    std::string serverGot;
    server.OnAccept = [&](TCustomSocket*, int socket) { accepted = socket; };
    server.OnData = [&](TCustomSocket*, int socket) {
        std::string text;
        server.ReceiveFrom(socket, text);
        serverGot += text;
        if (serverGot == "ping")
            server.SendTo(socket, "pong");
    };
    server.OnClose = [&](TCustomSocket*, int socket) {
        EXPECT_EQ(socket, accepted);
        ++serverCloses;
    };
    server.Listen();
    ASSERT_EQ(server.State(), stListening);

    TTCPClient client;
    ClientEvents events(client);
    client.OnConnect = [&](TCustomSocket*, int) {
        ++events.connects;
        client.Send("ping");
    };
    client.Host = "127.0.0.1";
    client.Port = std::to_string(server.ListenPort());
    client.Connect();
    EXPECT_EQ(client.State(), stConnecting);

    ASSERT_TRUE(WaitUntil([&] { return events.received == "pong"; }));
    EXPECT_EQ(client.State(), stConnected);
    EXPECT_EQ(events.connects, 1);
    EXPECT_TRUE(events.errors.empty());
    EXPECT_EQ(server.Clients().Count(), 1);
    std::string peer;
    client.PeerAddress(peer);
    EXPECT_EQ(peer, "127.0.0.1");

    client.Close();
    EXPECT_EQ(client.State(), stClosed);
    EXPECT_EQ(client.Handle(), -1);
    ASSERT_TRUE(WaitUntil([&] { return serverCloses == 1; }));
    EXPECT_EQ(server.Clients().Count(), 0);
}

TEST(TCPClient, DataIsRaisedAgainOnlyAfterTheHandlerRead)
{
    ScriptedServer peer;
    peer.Push(ScriptedServer::Script().Send("first").Pause(600ms).Send("second").Hold());
    TTCPClient client;
    ClientEvents events(client);
    events.readInHandler = false;
    client.Host = "127.0.0.1";
    client.Port = std::to_string(peer.Port());
    client.Connect();

    ASSERT_TRUE(WaitUntil([&] { return events.datas == 1; }));
    // Unread data must not raise OnData over and over.
    WaitUntil([] { return false; }, 150ms);
    EXPECT_EQ(events.datas, 1);
    EXPECT_EQ(events.writes, 1);  // once after the connect, none since

    std::string text;
    client.Receive(text);
    EXPECT_EQ(text, "first");
    ASSERT_TRUE(WaitUntil([&] { return events.datas == 2; }));
    client.Receive(text);
    EXPECT_EQ(text, "second");
}

TEST(TCPClient, RefusedConnectReportsAndRaisesNoConnect)
{
    TTCPClient client;
    ClientEvents events(client);
    client.Host = "127.0.0.1";
    client.Port = std::to_string(FreePort());
    client.Connect();
    ASSERT_TRUE(WaitUntil([&] { return !events.errors.empty(); }));
    EXPECT_EQ(events.errors[0], 10061);
    EXPECT_EQ(events.texts[0], "Connection refused");
    EXPECT_EQ(events.connects, 0);
    // A failed connect keeps its handle until Close.
    EXPECT_EQ(client.State(), stConnecting);
    EXPECT_NE(client.Handle(), -1);
    client.Close();
    EXPECT_EQ(client.State(), stClosed);
}

TEST(TCPClient, UnresolvableNameReportsHostNotFoundAndStaysClosed)
{
    TTCPClient client;
    ClientEvents events(client);
    client.Host = "no-such-host.invalid";
    client.Port = "80";
    client.Connect();
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_GE(events.errors[0], 11001);
    EXPECT_LE(events.errors[0], 11004);
    EXPECT_EQ(client.State(), stClosed);
    EXPECT_EQ(client.Handle(), -1);
}

TEST(TCPClient, DottedAddressIsUsedAsWritten)
{
    TTCPClient client;
    TSocketAddress address;
    ASSERT_TRUE(client.ResolveAddress("127.0.0.2", "8088", address));
    EXPECT_EQ(address.Address, htonl(0x7F000002));
    EXPECT_EQ(address.Port, 8088);

    ScriptedServer peer("127.0.0.2");
    peer.SetDefault(ScriptedServer::Script().Hold());
    ClientEvents events(client);
    client.Host = "127.0.0.2";
    client.Port = std::to_string(peer.Port());
    client.Connect();
    ASSERT_TRUE(WaitUntil([&] { return events.connects == 1; }));
    std::string text;
    client.PeerAddress(text);
    EXPECT_EQ(text, "127.0.0.2");
}

TEST(TCPClient, PortIsAServiceNameOrANumber)
{
    TTCPClient client;
    TSocketAddress address;
    ASSERT_TRUE(client.ResolvePort("http", address));
    EXPECT_EQ(address.Port, 80);
    EXPECT_EQ(address.Address, htonl(INADDR_ANY));

    std::vector<int> errors;
    client.OnError = [&](TCustomSocket*, int error, const std::string&) { errors.push_back(error); };
    EXPECT_FALSE(client.ResolvePort("70000", address));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], 10022);
}

TEST(TCPClient, PortThatIsNotANumberRaisesConversionError)
{
    TTCPClient client;
    client.Host = "127.0.0.1";
    client.Port = "eighty";
    EXPECT_THROW(client.Connect(), EConvertError);
    EXPECT_EQ(client.Handle(), -1);

    TTCPServer server;
    server.Port = "8o88";
    EXPECT_THROW(server.Listen(), EConvertError);
    EXPECT_EQ(server.State(), stClosed);
}

TEST(TCPClient, AuthorizedBindsFrom1024Down)
{
    ScriptedServer peer;
    peer.SetDefault(ScriptedServer::Script().Hold());

    // Port 1024 must be free for the first half of the test.
    TTCPServer probe;
    probe.Port = "1024";
    probe.Listen();
    if (probe.State() != stListening)
        GTEST_SKIP() << "port 1024 is in use on this machine (" << probe.ErrorText() << ")";
    probe.Close();

    TTCPClient first;
    ClientEvents firstEvents(first);
    first.Authorized = true;
    first.Host = "127.0.0.1";
    first.Port = std::to_string(peer.Port());
    first.Connect();
    ASSERT_TRUE(WaitUntil([&] { return firstEvents.connects == 1; }));
    EXPECT_EQ(first.LocalPort(), 1024);
    ASSERT_TRUE(peer.WaitForConnections(1, 5000ms));
    EXPECT_EQ(peer.PeerPort(0), 1024);

    TTCPClient second;
    ClientEvents secondEvents(second);
    second.Authorized = true;
    second.Host = "127.0.0.1";
    second.Port = first.Port;
    second.Connect();
    if (!secondEvents.errors.empty() && secondEvents.errors[0] == WSAEACCES)
        GTEST_SKIP() << "this process may not bind below port 1024";
    ASSERT_TRUE(WaitUntil([&] { return secondEvents.connects == 1; }));
    EXPECT_EQ(second.LocalPort(), 1023);
    ASSERT_TRUE(peer.WaitForConnections(2, 5000ms));
    EXPECT_EQ(peer.PeerPort(1), 1023);
}

TEST(TCPClient, ReceiveTextWithNothingWaitingGivesEmptyText)
{
    ScriptedServer peer;
    peer.SetDefault(ScriptedServer::Script().Hold());
    TTCPClient client;
    ClientEvents events(client);
    client.Host = "127.0.0.1";
    client.Port = std::to_string(peer.Port());
    client.Connect();
    ASSERT_TRUE(WaitUntil([&] { return events.connects == 1; }));
    std::string text = "left over";
    client.Receive(text);
    EXPECT_EQ(text, "");
    EXPECT_TRUE(events.errors.empty());
}

TEST(TCPClient, CloseWithNetworkDownIsOnlyReported)
{
    ScriptedServer peer;
    peer.SetDefault(ScriptedServer::Script().Hold());
    TTCPClient client;
    ClientEvents events(client);
    client.Host = "127.0.0.1";
    client.Port = std::to_string(peer.Port());
    client.Connect();
    ASSERT_TRUE(WaitUntil([&] { return client.State() == stConnected; }));
    const int handle = client.Handle();

    client.Dispatch(handle, FD_CLOSE, WSAENETDOWN);
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0], 10050);
    EXPECT_EQ(events.texts[0], "Network is down");
    EXPECT_EQ(events.closes, 0);
    EXPECT_EQ(client.Handle(), handle);
    EXPECT_EQ(client.State(), stConnected);

    // Any other error with the close is not reported: the client closes.
    client.Dispatch(handle, FD_CLOSE, WSAECONNRESET);
    EXPECT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.closes, 1);
    EXPECT_EQ(client.State(), stClosed);
}

TEST(TCPClient, ConnectWithRefusalRaisesErrorNotConnect)
{
    ScriptedServer peer;
    peer.SetDefault(ScriptedServer::Script().Hold());
    TTCPClient client;
    ClientEvents events(client);
    client.Host = "127.0.0.1";
    client.Port = std::to_string(peer.Port());
    client.Connect();
    // Fed before the real event is served.
    client.Dispatch(client.Handle(), FD_CONNECT, WSAECONNREFUSED);
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0], 10061);
    EXPECT_EQ(events.texts[0], "Connection refused");
    EXPECT_EQ(events.connects, 0);
    EXPECT_EQ(client.State(), stConnecting);
}

TEST(TCPClient, PeerCloseRaisesCloseAfterTheData)
{
    ScriptedServer peer;
    peer.Push(ScriptedServer::Script().Send("last words"));
    TTCPClient client;
    ClientEvents events(client);
    client.Host = "127.0.0.1";
    client.Port = std::to_string(peer.Port());
    client.Connect();
    ASSERT_TRUE(WaitUntil([&] { return events.closes == 1; }));
    EXPECT_EQ(events.received, "last words");
    EXPECT_EQ(client.State(), stClosed);
    EXPECT_EQ(client.Handle(), -1);
    EXPECT_TRUE(events.errors.empty());
}

TEST(TCPClient, ThePeersCloseTellsAResetFromAnOrderlyEnd)
{
    for (bool reset : {false, true}) {
        ScriptedServer peer;
        ScriptedServer::Script script = ScriptedServer::Script().Send("some bytes");
        if (reset)
            script.Abort();
        peer.Push(script);
        TTCPClient client;
        ClientEvents events(client);
        int seen = -1;
        client.OnClose = [&](TCustomSocket*, int) { seen = client.CloseError(); };
        client.Host = "127.0.0.1";
        client.Port = std::to_string(peer.Port());
        client.Connect();
        ASSERT_TRUE(WaitUntil([&] { return seen >= 0; }));
        EXPECT_EQ(seen, reset ? 10054 : 0);
    }
}
