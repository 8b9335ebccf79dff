// The notifier keeps Winsock's rule that FD_READ comes again only after the handler read,
// also while a handler that has not read yet runs the event loop itself.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "net/tcpclient.h"
#include "support/scriptedserver.h"

using namespace std::chrono_literals;

namespace {

using Script = ScriptedServer::Script;

TEST(SocketNotifier, AHandlerThatServesTheEventLoopBeforeItReadsGetsNoSecondRead)
{
    ScriptedServer peer;
    peer.Push(Script().Send("waiting").Hold());
    TTCPClient client;
    int connects = 0;
    int datas = 0;
    int nestedDatas = -1;
    std::string received;
    client.OnConnect = [&](TCustomSocket*, int) { ++connects; };
    client.OnData = [&](TCustomSocket*, int) {
        ++datas;
        if (nestedDatas < 0) {
            // Unread data, and the loop served meanwhile, as a message box would.
            WaitOnMain([] { return false; }, 200ms);
            nestedDatas = datas;
        }
        std::string text;
        client.Receive(text);
        received += text;
    };
    client.Host = "127.0.0.1";
    client.Port = std::to_string(peer.Port());
    client.Connect();
    ASSERT_TRUE(WaitOnMain([&] { return received == "waiting"; }, 5000ms));
    EXPECT_EQ(nestedDatas, 1);
    EXPECT_EQ(connects, 1);
    // Read, the socket is watched again: the server's close is raised.
    peer.Stop();
    ASSERT_TRUE(WaitOnMain([&] { return client.State() == stClosed; }, 5000ms));
}

}  // namespace
