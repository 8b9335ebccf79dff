#include "net/tcpserver.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include "net/socketcalls.h"
#include "platform/socketerrors.h"

TTCPServer::TTCPServer()
{
    notifier = std::make_unique<TSocketNotifier>(
        [this](int Socket, int Event, int Error) { Dispatch(Socket, Event, Error); });
    Protocol = IPPROTO_TCP;
    SocketType = SOCK_STREAM;
}

TTCPServer::~TTCPServer()
{
    // A listen that failed at one of its steps may hold a handle while still closed.
    if (state != stClosed || handle != sockapi::InvalidSocket || clients.Count() > 0)
        Close();
    notifier.reset();
}

void TTCPServer::Listen()
{
    TSocketAddress address;
    bool resolved = BindAddress.empty() ? ResolvePort(Port, address) : ResolveAddress(BindAddress, Port, address);
    if (!resolved)
        return;
    // A listener still held would be lost otherwise.
    ShutdownSocket(handle, true);
    if (handle != sockapi::InvalidSocket)
        return;
    state = stClosed;
    handle = sockapi::Open(true);
    if (handle == sockapi::InvalidSocket) {
        ReportError(sockapi::LastError());
        return;
    }
    // Without SO_REUSEADDR Linux refuses the port while connections of an earlier run
    // linger in TIME_WAIT, which Windows allows; two listeners are still refused. The watch
    // comes last: a socket that is not listening reads as ready for ever.
    if (sockapi::SetOption(handle, SOL_SOCKET, SO_REUSEADDR, 1) != 0
        || sockapi::Bind(handle, address.Address, address.Port) != 0 || sockapi::Listen(handle, MaxListen) != 0
        || notifier->Select(handle, FD_ACCEPT) != 0) {
        int code = sockapi::LastError();
        ShutdownSocket(handle, true);
        ReportError(code);
        return;
    }
    state = stListening;
}

void TTCPServer::Close()
{
    for (int socket : clients.TakeAll())
        ShutdownSocket(socket, true);
    ShutdownSocket(handle, true);
    if (handle == sockapi::InvalidSocket)
        state = stClosed;
}

void TTCPServer::SendTo(int Socket, const std::string& Text)
{
    SendText(Socket, 0, Text);
}

long TTCPServer::SendBufTo(int Socket, const void* Buffer, long Length)
{
    return SendBuffer(Socket, Buffer, 0, Length);
}

void TTCPServer::ReceiveFrom(int Socket, std::string& Text)
{
    ReceiveText(Socket, 0, Text);
}

void TTCPServer::CloseListed(int Socket, bool Abort)
{
    if (clients.Remove(Socket))
        ShutdownSocket(Socket, Abort);
}

void TTCPServer::AbortClient(int Socket)
{
    CloseListed(Socket, true);
}

void TTCPServer::CloseClient(int Socket)
{
    CloseListed(Socket, false);
}

int TTCPServer::ListenPort() const
{
    return BoundPortOf(handle);
}

void TTCPServer::Accept()
{
    int socket = sockapi::Accept(handle);
    if (socket == sockapi::InvalidSocket) {
        int code = sockapi::LastError();
        // Without a free descriptor the waiting connection stays, and so does the
        // listener's readiness: looking again at once would spin.
        if (code == WSAEMFILE || code == WSAENOBUFS)
            notifier->ReadDoneAfter(handle, AcceptPause);
        else
            notifier->ReadDone(handle);
        ReportError(code);
        return;
    }
    notifier->ReadDone(handle);
    if (sockapi::SetOption(socket, SOL_SOCKET, SO_OOBINLINE, 1) != 0
        || notifier->Select(socket, FD_READ | FD_WRITE | FD_CLOSE) != 0) {
        ReportError(sockapi::LastError());
        // Nobody would ever hear of this connection: close it rather than leak it.
        ShutdownSocket(socket, true);
        return;
    }
    if (!clients.Add(socket)) {
        ShutdownSocket(socket, false);
        return;
    }
    if (OnAccept)
        OnAccept(this, socket);
}

void TTCPServer::Dispatch(int Socket, int Event, int Error)
{
    switch (Event) {
    case FD_READ:
        RaiseOrReport(OnData, Socket, Error);
        break;
    case FD_WRITE:
        RaiseOrReport(OnWrite, Socket, Error);
        break;
    case FD_ACCEPT:
        if (Error != 0)
            ReportError(Error);
        else
            Accept();
        break;
    case FD_CLOSE:
        if (Error == WSAENETDOWN) {
            ReportError(Error);
            break;
        }
        if (OnClose)
            OnClose(this, Socket);
        AbortClient(Socket);
        break;
    default:
        if (Error != 0)
            ReportError(Error);
        break;
    }
}
