#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include "core/mainthread.h"
#include "net/tcpclient.h"
#include "net/tcpserver.h"
#include "platform/socketerrors.h"
#include "support/loopbacksocket.h"

using namespace std::chrono_literals;

namespace {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5000ms)
{
    return WaitOnMain(done, timeout);
}

// A listening server on 127.0.0.1 that remembers its accepted sockets and its errors.
struct Server {
    Server()
    {
        component.BindAddress = "127.0.0.1";
        component.Port = "0";
        component.OnAccept = [this](TCustomSocket*, int socket) { accepted.push_back(socket); };
        component.OnClose = [this](TCustomSocket*, int socket) { closed.push_back(socket); };
        component.OnError = [this](TCustomSocket*, int error, const std::string&) { errors.push_back(error); };
        component.Listen();
    }
    std::string Port() const { return std::to_string(component.ListenPort()); }

    TTCPServer component;
    std::vector<int> accepted;
    std::vector<int> closed;
    std::vector<int> errors;
};

// A client that keeps everything it receives.
struct Reader {
    explicit Reader(const std::string& port, const std::string& host = "127.0.0.1")
    {
        client.Host = host;
        client.Port = port;
        client.OnConnect = [this](TCustomSocket*, int) { connected = true; };
        client.OnData = [this](TCustomSocket*, int) {
            std::string text;
            client.Receive(text);
            received += text;
        };
        client.OnClose = [this](TCustomSocket*, int) { closed = true; };
        client.OnError = [this](TCustomSocket*, int error, const std::string&) { errors.push_back(error); };
        client.Connect();
    }
    TTCPClient client;
    bool connected = false;
    bool closed = false;
    std::string received;
    std::vector<int> errors;
};

// Lowers the process's descriptor limit to the lowest free descriptor, so that nothing
// more can be opened, and puts the limit back when it goes.
class NoMoreDescriptors {
public:
    NoMoreDescriptors()
    {
        ::getrlimit(RLIMIT_NOFILE, &saved);
        int lowest = ::dup(0);
        ::close(lowest);
        rlimit tight = saved;
        tight.rlim_cur = static_cast<rlim_t>(lowest);
        applied = ::setrlimit(RLIMIT_NOFILE, &tight) == 0;
    }
    ~NoMoreDescriptors() { Restore(); }
    void Restore() { ::setrlimit(RLIMIT_NOFILE, &saved); }
    bool applied = false;

private:
    rlimit saved{};
};

}  // namespace

TEST(TCPServer, AFailedListenWatchesNothingAndIsReportedOnce)
{
    Server first;
    TTCPServer second;
    second.BindAddress = "127.0.0.1";
    second.Port = first.Port();
    std::vector<int> errors;
    second.OnError = [&](TCustomSocket*, int error, const std::string&) { errors.push_back(error); };
    second.Listen();
    WaitUntil([] { return false; }, 300ms);
    EXPECT_EQ(errors, std::vector<int>{WSAEADDRINUSE});
    EXPECT_NE(second.State(), stListening);
    EXPECT_EQ(second.Handle(), -1);
    EXPECT_EQ(second.LastError(), WSAEADDRINUSE);
}

TEST(TCPServer, AcceptingPausesWhileDescriptorsRunOut)
{
    Server server;
    int client = ConnectLoopback(server.component.ListenPort());
    ASSERT_GE(client, 0);
    size_t failures = 0;
    {
        NoMoreDescriptors limit;
        ASSERT_TRUE(limit.applied);
        WaitUntil([] { return false; }, 500ms);
        failures = server.errors.size();
    }
    EXPECT_GE(failures, 1u);
    EXPECT_LE(failures, 10u) << "the listener was looked at again and again";
    for (int error : server.errors)
        EXPECT_EQ(error, WSAEMFILE);
    // Once descriptors are free again the waiting connection is taken.
    EXPECT_TRUE(WaitUntil([&] { return server.accepted.size() == 1; }, 2000ms));
    ::close(client);
}

TEST(TCPServer, ListensOnTheBindAddressOnly)
{
    Server server;
    ASSERT_EQ(server.component.State(), stListening);
    Reader elsewhere(server.Port(), "127.0.0.2");
    ASSERT_TRUE(WaitUntil([&] { return !elsewhere.errors.empty(); }));
    EXPECT_EQ(elsewhere.errors[0], WSAECONNREFUSED);
    EXPECT_FALSE(elsewhere.connected);

    Reader here(server.Port());
    ASSERT_TRUE(WaitUntil([&] { return here.connected && server.accepted.size() == 1; }));
    EXPECT_EQ(server.component.Clients().Count(), 1);
    EXPECT_EQ(server.component.Clients().Item(0), server.accepted[0]);
}

TEST(TCPServer, SendBufferWithoutWaitingSendsWhatOneSendTakes)
{
    Server server;
    Reader reader(server.Port());
    ASSERT_TRUE(WaitUntil([&] { return reader.connected && server.accepted.size() == 1; }));
    const int socket = server.accepted[0];

    // Far more than the socket buffers hold, so one send cannot take it all.
    const std::string data(64 * 1024 * 1024, 'x');
    long sent = server.component.SendBufTo(socket, data.data(), static_cast<long>(data.size()));
    ASSERT_GT(sent, 0);
    EXPECT_LT(sent, static_cast<long>(data.size()));
    EXPECT_TRUE(server.errors.empty());

    server.component.CloseClient(socket);
    ASSERT_TRUE(WaitUntil([&] { return reader.closed; }));
    EXPECT_EQ(static_cast<long>(reader.received.size()), sent);
}

TEST(TCPServer, SendAllFromAWorkerSendsTheWholeBuffer)
{
    Server server;
    Reader reader(server.Port());
    ASSERT_TRUE(WaitUntil([&] { return reader.connected && server.accepted.size() == 1; }));
    const int socket = server.accepted[0];

    std::string data(8 * 1024 * 1024, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + i % 26);
    std::atomic<long> result{0};
    std::atomic<bool> done{false};
    // The page server's way: a worker sends and closes while the main thread serves events.
    std::thread worker([&] {
        result = server.component.SendAll(socket, data.data(), static_cast<long>(data.size()));
        server.component.CloseClient(socket);
        done = true;
    });
    bool finished = WaitUntil([&] { return done && reader.closed; }, 20000ms);
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(result.load(), static_cast<long>(data.size()));
    EXPECT_TRUE(reader.received == data);
    EXPECT_TRUE(server.errors.empty());
    EXPECT_EQ(server.component.Clients().Count(), 0);
}

TEST(TCPServer, SendAllGivesUpWhenThePeerStopsReading)
{
    Server server;
    server.component.SendTimeout = 200;
    TTCPClient silent;
    bool connected = false;
    silent.OnConnect = [&](TCustomSocket*, int) { connected = true; };
    silent.Host = "127.0.0.1";
    silent.Port = server.Port();
    silent.Connect();
    ASSERT_TRUE(WaitUntil([&] { return connected && server.accepted.size() == 1; }));

    const std::string data(64 * 1024 * 1024, 'x');
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(server.component.SendAll(server.accepted[0], data.data(), static_cast<long>(data.size())), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    ASSERT_EQ(server.errors.size(), 1u);
    EXPECT_EQ(server.errors[0], WSAETIMEDOUT);
}

TEST(TCPServer, ClientIsClosedExactlyOnce)
{
    Server server;
    Reader reader(server.Port());
    ASSERT_TRUE(WaitUntil([&] { return reader.connected && server.accepted.size() == 1; }));
    const int socket = server.accepted[0];

    server.component.CloseClient(socket);
    server.component.CloseClient(socket);
    server.component.AbortClient(socket);
    EXPECT_TRUE(server.errors.empty());
    EXPECT_EQ(server.component.Clients().Count(), 0);
    ASSERT_TRUE(WaitUntil([&] { return reader.closed; }));
}

TEST(TCPServer, WorkerCloseMeetingThePeersCloseClosesOnce)
{
    Server server;
    for (int round = 0; round < 20; ++round) {
        auto reader = std::make_unique<Reader>(server.Port());
        const size_t expected = static_cast<size_t>(round + 1);
        ASSERT_TRUE(WaitUntil([&] { return reader->connected && server.accepted.size() == expected; }));
        const int socket = server.accepted.back();
        std::atomic<bool> done{false};
        std::thread worker([&] {
            server.component.CloseClient(socket);
            done = true;
        });
        reader->client.Close();
        bool finished = WaitUntil([&] { return done.load(); });
        worker.join();
        ASSERT_TRUE(finished);
        // Whichever side came second found the handle gone and left it alone.
        WaitUntil([] { return false; }, 5ms);
        EXPECT_TRUE(server.errors.empty()) << "round " << round << ": error " << server.errors.front();
        EXPECT_EQ(server.component.Clients().Count(), 0);
    }
}

TEST(TCPServer, CloseWithNetworkDownIsOnlyReported)
{
    Server server;
    Reader reader(server.Port());
    ASSERT_TRUE(WaitUntil([&] { return reader.connected && server.accepted.size() == 1; }));
    const int socket = server.accepted[0];

    server.component.Dispatch(socket, FD_CLOSE, WSAENETDOWN);
    ASSERT_EQ(server.errors.size(), 1u);
    EXPECT_EQ(server.errors[0], 10050);
    EXPECT_TRUE(server.closed.empty());
    EXPECT_EQ(server.component.Clients().Count(), 1);

    server.component.Dispatch(socket, FD_CLOSE, 0);
    EXPECT_EQ(server.closed.size(), 1u);
    EXPECT_EQ(server.component.Clients().Count(), 0);
    ASSERT_TRUE(WaitUntil([&] { return reader.closed; }));
}

TEST(TCPServer, CloseEndsEveryClientAndTheListener)
{
    Server server;
    Reader one(server.Port());
    Reader two(server.Port());
    ASSERT_TRUE(WaitUntil([&] { return server.accepted.size() == 2 && one.connected && two.connected; }));
    server.component.Close();
    EXPECT_EQ(server.component.State(), stClosed);
    EXPECT_EQ(server.component.Handle(), -1);
    EXPECT_EQ(server.component.Clients().Count(), 0);
    ASSERT_TRUE(WaitUntil([&] { return one.closed && two.closed; }));
    EXPECT_TRUE(server.errors.empty());
}
