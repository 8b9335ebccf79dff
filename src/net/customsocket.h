#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "net/socketevents.h"
#include "net/socketnotifier.h"

class TCustomSocket;

enum TSocketState : uint8_t { stUninitialised, stClosed, stConnected, stListening, stConnecting };

// Event handlers; Socket is the socket handle the event is about.
using TOnError = std::function<void(TCustomSocket* Sender, int Error, const std::string& Msg)>;
using TOnData = std::function<void(TCustomSocket* Sender, int Socket)>;
using TOnWrite = std::function<void(TCustomSocket* Sender, int Socket)>;
using TOnConnect = std::function<void(TCustomSocket* Sender, int Socket)>;
using TOnClose = std::function<void(TCustomSocket* Sender, int Socket)>;
using TOnAccept = std::function<void(TCustomSocket* Sender, int Socket)>;

// An IPv4 address in network order and a port.
struct TSocketAddress {
    uint32_t Address = 0;
    int Port = 0;
};

// What the client and the server components share: the Winsock start-up data, error
// reports and the operations on socket handles. Nothing here raises, except the
// conversion error of a Port text that is not a number; every failure goes to OnError
// with its Winsock number and fixed text. Events run on the thread that created the
// component; OnError also runs on whichever thread made a failing call.
class TCustomSocket {
public:
    TCustomSocket();
    virtual ~TCustomSocket();
    TCustomSocket(const TCustomSocket&) = delete;
    TCustomSocket& operator=(const TCustomSocket&) = delete;

    std::string WinsockVersion;
    std::string WinsockDescription;
    std::string WinsockStatus;
    int MaxSockets = 0;
    int MaxDatagram = 0;
    TOnError OnError;
    // Whether SendBuffer repeats send until the whole buffer is taken.
    bool WaitWriteBuffer = false;
    // How long SendAll waits for a socket to take more data, in milliseconds.
    int SendTimeout = 60000;

    int Handle() const { return handle; }
    TSocketState State() const { return state; }
    int LastError() const { return lastError; }

    void ReportError(int Code);
    // A TLS failure (tlserrors.h) with the TLS library's words for it.
    void ReportError(int Code, const std::string& Detail);
    // The fixed text of LastError; for a TLS failure followed by its words.
    std::string ErrorText() const;

    bool ResolveAddress(const std::string& Host, const std::string& Port, TSocketAddress& Address);
    bool ResolvePort(const std::string& Port, TSocketAddress& Address);
    void PeerAddressOf(int Socket, std::string& Text);
    // Stops the socket's events and closes it: Abort resets the connection, otherwise it
    // closes gracefully. Socket becomes -1 when every step succeeded.
    void ShutdownSocket(int& Socket, bool Abort);
    // Resets Socket's connection and leaves the handle open: a worker blocked sending on it
    // returns at once, and the peer sees the answer cut, not ended. The handle stays its
    // owner's to close.
    void ResetConnection(int Socket);
    int BytesAvailable(int Socket);
    void SendText(int Socket, int Flags, const std::string& Text);
    void ReceiveText(int Socket, int Flags, std::string& Text);
    long SendBuffer(int Socket, const void* Buffer, int Flags, long Length);
    // Sends all Length bytes, waiting up to SendTimeout each time the socket is full;
    // Length when done, -1 after a reported failure. Blocks: for worker threads.
    long SendAll(int Socket, const void* Buffer, long Length);
    long ReceiveBuffer(int Socket, void* Buffer, int Flags, long Size);
    std::string LocalAddress();
    std::string LocalHostName();

protected:
    // An event's handler, or the event's error report when it carries one.
    void RaiseOrReport(const std::function<void(TCustomSocket*, int)>& handler, int Socket, int Error);
    // The port a socket is bound to, or -1.
    int BoundPortOf(int Socket) const;
    long SendOnce(int Socket, const void* Buffer, long Length, int Flags);

    int Protocol = 0;
    int SocketType = 3;
    int handle = -1;
    // Held while a call uses handle, so that a close on another thread cannot free the
    // descriptor number between reading handle and using it. Recursive: an OnError
    // handler runs inside such a call and may use the component again.
    mutable std::recursive_mutex handleLock;
    TSocketState state = stUninitialised;
    std::atomic<int> lastError{0};
    mutable std::mutex detailLock;
    std::string errorDetail;  // the words of the last TLS failure
    // Made by the client and the server, which receive its events.
    std::unique_ptr<TSocketNotifier> notifier;

private:
    bool ServicePort(const std::string& Port, int& port, bool reportFailure);
    bool PortInRange(int number, int& port);
};
