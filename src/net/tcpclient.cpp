#include "net/tcpclient.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include "net/socketcalls.h"
#include "platform/socketerrors.h"

namespace {

constexpr int FirstAuthorizedPort = 1024;
constexpr int LastAuthorizedPort = 513;

}  // namespace

TTCPClient::TTCPClient()
{
    notifier = std::make_unique<TSocketNotifier>(
        [this](int Socket, int Event, int Error) { Dispatch(Socket, Event, Error); });
    Protocol = IPPROTO_TCP;
    SocketType = SOCK_STREAM;
}

TTCPClient::~TTCPClient()
{
    // A connect that failed at one of its steps may hold a handle while still closed.
    if (state != stClosed || handle != sockapi::InvalidSocket)
        Close();
    notifier.reset();
}

void TTCPClient::Connect()
{
    std::lock_guard guard(handleLock);
    closeError = 0;
    TSocketAddress address;
    if (!ResolveAddress(Host, Port, address))
        return;
    // A handle still held would be lost otherwise.
    if (handle != sockapi::InvalidSocket) {
        Close();
        if (handle != sockapi::InvalidSocket)
            return;
    }
    handle = sockapi::Open(true);
    if (handle == sockapi::InvalidSocket) {
        ReportError(sockapi::LastError());
        return;
    }
    if (sockapi::SetOption(handle, SOL_SOCKET, SO_OOBINLINE, 1) != 0 || notifier->Select(handle, FD_CONNECT) != 0) {
        ReportError(sockapi::LastError());
        return;
    }
    if (Authorized && !BindAuthorized())
        return;
    if (sockapi::Connect(handle, address.Address, address.Port) != 0) {
        int code = sockapi::LastError();
        if (code != WSAEINPROGRESS && code != WSAEWOULDBLOCK) {
            ReportError(code);
            return;
        }
    }
    state = stConnecting;
}

bool TTCPClient::BindAuthorized()
{
    for (int port = FirstAuthorizedPort; port >= LastAuthorizedPort; --port) {
        if (sockapi::Bind(handle, htonl(INADDR_ANY), port) == 0)
            return true;
        if (sockapi::LastError() != WSAEADDRINUSE) {
            ReportError(sockapi::LastError());
            return false;
        }
    }
    return true;
}

void TTCPClient::Close()
{
    std::lock_guard guard(handleLock);
    ShutdownSocket(handle, true);
    if (handle == sockapi::InvalidSocket)
        state = stClosed;
}

void TTCPClient::Send(const std::string& Text)
{
    std::lock_guard guard(handleLock);
    SendText(handle, 0, Text);
}

void TTCPClient::Receive(std::string& Text)
{
    std::lock_guard guard(handleLock);
    ReceiveText(handle, 0, Text);
}

long TTCPClient::ReceiveBuf(void* Buffer, long Size)
{
    std::lock_guard guard(handleLock);
    return ReceiveBuffer(handle, Buffer, 0, Size);
}

void TTCPClient::PeerAddress(std::string& Text)
{
    std::lock_guard guard(handleLock);
    PeerAddressOf(handle, Text);
}

int TTCPClient::LocalPort() const
{
    std::lock_guard guard(handleLock);
    return BoundPortOf(handle);
}

void TTCPClient::Dispatch(int Socket, int Event, int Error)
{
    switch (Event) {
    case FD_READ:
        RaiseOrReport(OnData, Socket, Error);
        break;
    case FD_WRITE:
        RaiseOrReport(OnWrite, Socket, Error);
        break;
    case FD_CONNECT:
        if (Error != 0) {
            ReportError(Error);
            break;
        }
        if (notifier->Select(Socket, FD_READ | FD_WRITE | FD_CLOSE) != 0) {
            ReportError(sockapi::LastError());
            break;
        }
        if (OnConnect)
            OnConnect(this, Socket);
        // A handler that closed the client leaves it closed.
        if (handle == Socket)
            state = stConnected;
        break;
    case FD_CLOSE:
        if (Error == WSAENETDOWN) {
            ReportError(Error);
            break;
        }
        closeError = Error;
        if (OnClose)
            OnClose(this, Socket);
        Close();
        break;
    default:
        if (Error != 0)
            ReportError(Error);
        break;
    }
}
