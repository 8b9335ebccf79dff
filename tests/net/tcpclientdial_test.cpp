// Connect in two halves: a worker thread dials (name look-up and connect), the client's
// own thread takes the socket over, and the events come there as after Connect.
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "net/tcpclient.h"
#include "support/nginxserver.h"
#include "support/scriptedserver.h"

using namespace std::chrono_literals;

namespace {

using Script = ScriptedServer::Script;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5000ms)
{
    return WaitOnMain(done, timeout);
}

// What a client raises, from whichever thread raises it.
struct Events {
    explicit Events(TTCPClient& client)
    {
        client.OnError = [this](TCustomSocket*, int error, const std::string&) {
            std::lock_guard guard(lock);
            errors.push_back(error);
            errorOnMain.push_back(IsMainThread());
        };
        client.OnConnect = [this](TCustomSocket*, int) { ++connects; };
        client.OnClose = [this](TCustomSocket*, int) { ++closes; };
        client.OnData = [this, &client](TCustomSocket*, int) {
            std::string text;
            client.Receive(text);
            received += text;
        };
    }
    std::vector<int> Errors()
    {
        std::lock_guard guard(lock);
        return errors;
    }

    std::mutex lock;
    std::vector<int> errors;
    std::vector<bool> errorOnMain;
    std::atomic<int> connects{0};
    std::atomic<int> closes{0};
    std::string received;  // main thread
};

// Dials on a thread of its own, as a grab thread does.
int DialElsewhere(TTCPClient& client, const std::string& host, const std::string& port)
{
    int socket = -1;
    std::thread dialler([&] { socket = client.Dial(host, port); });
    dialler.join();
    return socket;
}

TEST(TCPClientDial, ASocketDialledElsewhereConnectsAndTalksOnTheClientsThread)
{
    ScriptedServer peer;
    peer.Push(Script().ReadRequest().Send("answer").Hold());
    TTCPClient client;
    Events events(client);
    int socket = DialElsewhere(client, "127.0.0.1", std::to_string(peer.Port()));
    ASSERT_GE(socket, 0);
    EXPECT_EQ(client.Handle(), -1);  // not the client's until it takes it
    client.WatchDialled(socket);
    EXPECT_EQ(client.Handle(), socket);
    EXPECT_EQ(client.State(), stConnecting);
    ASSERT_TRUE(WaitUntil([&] { return events.connects == 1; }));
    EXPECT_EQ(client.State(), stConnected);
    std::string address;
    client.PeerAddress(address);
    EXPECT_EQ(address, "127.0.0.1");
    client.Send("question\r\n\r\n");
    ASSERT_TRUE(WaitUntil([&] { return events.received == "answer"; }));
    EXPECT_EQ(peer.Request(0), "question\r\n\r\n");
    EXPECT_TRUE(events.Errors().empty());
}

TEST(TCPClientDial, FailuresAreReportedByTheThreadThatMeetsThem)
{
    // A name that cannot be looked up fails in Dial, on the dialling thread, with no socket.
    TTCPClient client;
    Events events(client);
    EXPECT_EQ(DialElsewhere(client, "no-such-host.invalid", "80"), -1);
    ASSERT_EQ(events.Errors().size(), 1u);
    EXPECT_GE(events.Errors()[0], 11001);
    EXPECT_LE(events.Errors()[0], 11004);
    EXPECT_FALSE(events.errorOnMain[0]);

    // A refused connect is told at once or by FD_CONNECT: one report, no OnConnect.
    int socket = DialElsewhere(client, "127.0.0.1", std::to_string(FreePort()));
    if (socket >= 0)
        client.WatchDialled(socket);
    ASSERT_TRUE(WaitUntil([&] { return events.Errors().size() == 2; }));
    WaitUntil([] { return false; }, 100ms);
    EXPECT_EQ(events.Errors(), (std::vector<int>{events.Errors()[0], 10061}));
    EXPECT_EQ(events.connects, 0);

    // A port beyond the range is refused before any socket is made.
    EXPECT_EQ(DialElsewhere(client, "127.0.0.1", "70000"), -1);
    EXPECT_EQ(events.Errors().back(), 10022);
}

TEST(TCPClientDial, TakingADialledSocketClosesTheConnectionTheClientHeld)
{
    ScriptedServer first;
    first.Push(Script().Hold());
    ScriptedServer second;
    second.Push(Script().Hold());
    TTCPClient client;
    Events events(client);
    client.Host = "127.0.0.1";
    client.Port = std::to_string(first.Port());
    client.Connect();
    ASSERT_TRUE(WaitUntil([&] { return events.connects == 1; }));
    int old = client.Handle();

    int socket = DialElsewhere(client, "127.0.0.1", std::to_string(second.Port()));
    ASSERT_GE(socket, 0);
    client.WatchDialled(socket);
    ASSERT_TRUE(WaitUntil([&] { return events.connects == 2; }));
    EXPECT_TRUE(first.WaitForFinished(0, 5000ms));  // the first server saw its connection end
    // The connection stands once the system took it; the server counts it as it accepts.
    EXPECT_TRUE(second.WaitForConnections(1, 5000ms));
    EXPECT_EQ(second.Connections(), 1);
    EXPECT_EQ(client.Handle(), socket);
    EXPECT_NE(socket, old);
    EXPECT_TRUE(events.Errors().empty());
}

}  // namespace
