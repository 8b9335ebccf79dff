#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "net/tcpserver.h"

class QObject;
class TPageServerHost;

// The local page server. Browsers use it as their HTTP proxy: each request line carries
// the absolute URL of a page, and a TGiveData worker answers it from the page store, with
// a page fetched live while the phone book is shown, or with an error page, and closes
// the connection. It listens on 127.0.0.1 only, so nothing else on the network can read
// the store or use the live fetch.
//
// One worker per connection: the bytes of a connection are gathered until the request
// line is complete (CR LF). A request line without CR LF is answered as one with an empty
// first line once the peer half-closes, once RequestWait has passed without more bytes,
// or once MaxRequestLine bytes have come. Bytes that come while the answer is under way
// are read and dropped. A connection that has not sent a complete request line within
// IdleLimit of its acceptance is closed, so idle connections cannot use up the descriptors.
// Every socket is closed exactly once: by the browser's close while no answer runs, or by
// the main thread when the worker has answered. Freeing the server resets the connections
// being answered, so that no worker is left sending to a browser that does not read.
//
// Made, opened and freed on the main thread; its events run there.
class TPageServer {
public:
    static constexpr size_t MaxRequestLine = 16384;
    // Connections waiting to be accepted. A browser opens several at once for one page;
    // with a backlog of 5 the system drops the ones beyond while the main thread is busy,
    // and each dropped one stalls for a second or more until its connect is tried again.
    static constexpr int ListenBacklog = 64;

    // Host may be null (no window yet): missing pages then get the not-stored page.
    explicit TPageServer(TPageServerHost* Host);
    // Resets the connections being answered and waits for their workers, serving the main
    // thread's queue meanwhile.
    ~TPageServer();
    TPageServer(const TPageServer&) = delete;
    TPageServer& operator=(const TPageServer&) = delete;

    // Port "8088" on 127.0.0.1, MaxListen ListenBacklog; set another Port before Open,
    // "0" for any free one.
    TTCPServer TCPServer1;
    std::chrono::milliseconds RequestWait{500};
    std::chrono::milliseconds IdleLimit{30000};

    // Starts listening. A failure (the port in use) goes to TCPServer1's OnError and is said
    // once in the status line; browsers then get no answer.
    void Open();
    // Workers answering now.
    int Answering() const { return answering; }

private:
    struct TConnection {
        std::string received;  // the request so far, until its answer starts
        bool answering = false;
        bool peerClosed = false;     // taken out of the client list; closed when answered
        unsigned long long piece = 0;  // the last piece of bytes that came, for the wait
        unsigned long long serial = 0;  // tells this connection from a later one on the same socket
    };

    void TCPServer1Accept(TCustomSocket* Sender, int Socket);
    void TCPServer1Data(TCustomSocket* Sender, int Socket);
    void TCPServer1Close(TCustomSocket* Sender, int Socket);
    void Gathered(int Socket, TConnection& connection);
    void WaitForRestOfLine(int Socket, TConnection& connection);
    void CloseWhenIdle(int Socket, unsigned long long serial);
    void StartAnswer(int Socket, TConnection& connection);
    void Answered(int Socket);
    void Drop(int Socket);

    TPageServerHost* Host;
    std::map<int, TConnection> connections;
    std::unique_ptr<QObject> waits;  // the context of the request-line waits; they end with it
    unsigned long long pieces = 0;
    unsigned long long serials = 0;
    int answering = 0;
    bool closing = false;
};
