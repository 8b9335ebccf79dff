// The client's socket handle is guarded: a send from a worker thread never reaches a
// connection that took over the descriptor number after the main thread closed the client.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "net/tcpclient.h"
#include "support/scriptedserver.h"

using namespace std::chrono_literals;

namespace {

// A send of the chosen thread stops right before the system call until released, which
// widens the moment between reading the handle and using it to as long as the test needs.
std::mutex holdLock;
std::condition_variable holdChanged;
std::thread::id heldThread;
bool holding = false;
bool released = false;

void HoldSendsOf(std::thread::id thread)
{
    std::lock_guard guard(holdLock);
    heldThread = thread;
    holding = false;
    released = false;
}

void WaitInSend()
{
    std::unique_lock guard(holdLock);
    if (std::this_thread::get_id() != heldThread || released)
        return;
    holding = true;
    holdChanged.notify_all();
    holdChanged.wait(guard, [] { return released; });
}

void ReleaseSends()
{
    std::lock_guard guard(holdLock);
    released = true;
    heldThread = std::thread::id();
    holdChanged.notify_all();
}

bool WaitUntilHeld(std::chrono::milliseconds limit)
{
    std::unique_lock guard(holdLock);
    return holdChanged.wait_for(guard, limit, [] { return holding; });
}

int ConnectTo(const ScriptedServer& server)
{
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in name{};
    name.sin_family = AF_INET;
    name.sin_port = htons(static_cast<uint16_t>(server.Port()));
    name.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr*>(&name), sizeof name) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

}  // namespace

// Every send of this program passes here first.
extern "C" ssize_t send(int fd, const void* data, size_t length, int flags)
{
    using SendCall = ssize_t (*)(int, const void*, size_t, int);
    static const auto real = reinterpret_cast<SendCall>(::dlsym(RTLD_NEXT, "send"));
    WaitInSend();
    return real(fd, data, length, flags);
}

TEST(SocketHandle, ASendDuringACloseNeverReachesTheConnectionThatReusesTheNumber)
{
    ScriptedServer first;
    ScriptedServer second;
    first.Push(ScriptedServer::Script().Hold());
    second.Push(ScriptedServer::Script().Hold());
    TTCPClient client;
    client.Host = "127.0.0.1";
    client.Port = std::to_string(first.Port());
    client.Connect();
    ASSERT_TRUE(WaitOnMain([&] { return client.State() == stConnected; }, 5000ms));
    const int number = client.Handle();

    std::thread worker([&] {
        HoldSendsOf(std::this_thread::get_id());
        client.Send("GET /secret HTTP/1.0\r\n\r\n");
    });
    ASSERT_TRUE(WaitUntilHeld(5000ms));
    std::thread release([] {
        std::this_thread::sleep_for(300ms);
        ReleaseSends();
    });
    // The main thread closes the client while the worker is inside its send, and a new
    // connection takes over the descriptor number at once.
    client.Close();
    int other = ConnectTo(second);
    ASSERT_GE(other, 0);
    if (other != number) {
        ASSERT_EQ(::dup2(other, number), number);
        ::close(other);
    }
    worker.join();
    release.join();
    ASSERT_TRUE(second.WaitForConnections(1, 5000ms));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(second.Request(0), "");
    EXPECT_EQ(first.Request(0), "GET /secret HTTP/1.0\r\n\r\n");
    ::close(number);
}
