#include "net/tcpclient.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include "net/socketcalls.h"
#include "net/tlserrors.h"
#include "net/tlssession.h"
#include "platform/socketerrors.h"

namespace {

constexpr int FirstAuthorizedPort = 1024;
constexpr int LastAuthorizedPort = 513;
// What one Receive takes of a TLS session at most, so one busy server cannot hold the
// event loop; the rest raises FD_READ again.
constexpr long MaxTlsReceive = 65536;
constexpr long TlsChunk = 16384;

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
    tls.reset();
    handle = sockapi::Open(true);
    if (handle == sockapi::InvalidSocket) {
        ReportError(sockapi::LastError());
        return;
    }
    if (sockapi::SetOption(handle, SOL_SOCKET, SO_OOBINLINE, 1) != 0 || notifier->Select(handle, FD_CONNECT) != 0) {
        ReportError(sockapi::LastError());
        return;
    }
    if (Authorized && !BindAuthorized(handle))
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

int TTCPClient::Dial(const std::string& host, const std::string& port)
{
    TSocketAddress address;
    if (!ResolveAddress(host, port, address))
        return sockapi::InvalidSocket;
    int socket = sockapi::Open(true);
    if (socket == sockapi::InvalidSocket) {
        ReportError(sockapi::LastError());
        return socket;
    }
    int code = 0;
    if (sockapi::SetOption(socket, SOL_SOCKET, SO_OOBINLINE, 1) != 0)
        code = sockapi::LastError();
    else if (Authorized && !BindAuthorized(socket))
        code = -1;  // reported
    else if (sockapi::Connect(socket, address.Address, address.Port) != 0 && sockapi::LastError() != WSAEINPROGRESS
             && sockapi::LastError() != WSAEWOULDBLOCK)
        code = sockapi::LastError();
    if (code == 0)
        return socket;
    // Nobody else has the socket yet: it goes with its failure.
    sockapi::Close(socket);
    if (code > 0)
        ReportError(code);
    return sockapi::InvalidSocket;
}

void TTCPClient::WatchDialled(int Socket)
{
    std::lock_guard guard(handleLock);
    if (handle != sockapi::InvalidSocket) {
        Close();
        if (handle != sockapi::InvalidSocket) {
            sockapi::Close(Socket);
            return;
        }
    }
    closeError = 0;
    tls.reset();
    handle = Socket;
    state = stConnecting;
    if (notifier->Select(handle, FD_CONNECT) != 0)
        ReportError(sockapi::LastError());
}

bool TTCPClient::BindAuthorized(int Socket)
{
    for (int port = FirstAuthorizedPort; port >= LastAuthorizedPort; --port) {
        if (sockapi::Bind(Socket, htonl(INADDR_ANY), port) == 0)
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
    // A session whose connection was closed would write to a descriptor number that is
    // no longer its own: the plain send reports the closed handle instead.
    if (tls && handle != sockapi::InvalidSocket)
        SendTls(Text);
    else
        SendText(handle, 0, Text);
}

void TTCPClient::Receive(std::string& Text)
{
    std::lock_guard guard(handleLock);
    if (!tls || handle == sockapi::InvalidSocket) {
        ReceiveText(handle, 0, Text);
        return;
    }
    std::string received;
    char buffer[TlsChunk];
    while (static_cast<long>(received.size()) < MaxTlsReceive) {
        long count = ReceiveTls(buffer, TlsChunk);
        if (count <= 0)
            break;
        received.append(buffer, static_cast<size_t>(count));
    }
    Text = std::move(received);
}

long TTCPClient::ReceiveBuf(void* Buffer, long Size)
{
    std::lock_guard guard(handleLock);
    if (tls && handle != sockapi::InvalidSocket)
        return ReceiveTls(Buffer, Size);
    return ReceiveBuffer(handle, Buffer, 0, Size);
}

// A read that finds nothing yet gives -1 with WSAEWOULDBLOCK, without a report: the
// socket's data was a part of a record, or no data at all (a session ticket). The end of
// the session gives 0.
long TTCPClient::ReceiveTls(void* Buffer, long Size)
{
    TTlsStep step;
    long count = tls->Read(Buffer, static_cast<size_t>(Size), step);
    bool ended = step == TTlsStep::Closed || step == TTlsStep::Failed;
    if (step == TTlsStep::WantWrite)
        notifier->WriteBlocked(handle);
    AfterTlsRead(handle, count > 0 && tls->Pending() > 0, ended);
    if (count > 0 || ended)
        return count;
    sockapi::SetLastError(WSAEWOULDBLOCK);
    lastError = WSAEWOULDBLOCK;
    return -1;
}

void TTCPClient::AfterTlsRead(int Socket, bool pending, bool ended)
{
    if (Socket == sockapi::InvalidSocket)
        return;
    if (ended)
        notifier->RaiseLater(Socket, FD_CLOSE);
    else if (pending)
        notifier->RaiseLater(Socket, FD_READ);
    else
        notifier->ReadDone(Socket);
}

void TTCPClient::SendTls(const std::string& Text)
{
    size_t done = 0;
    while (done < Text.size()) {
        TTlsStep step;
        long sent = tls->Write(Text.data() + done, Text.size() - done, step);
        if (sent > 0) {
            done += static_cast<size_t>(sent);
            continue;
        }
        if (step == TTlsStep::WantWrite || step == TTlsStep::WantRead) {
            notifier->WriteBlocked(handle);
            ReportError(WSAEWOULDBLOCK);
        } else {
            ReportError(TLS_E_FAILED, tls->ErrorText());
        }
        return;
    }
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
    bool handshaking = tls && !tls->Established() && Error == 0;
    switch (Event) {
    case FD_READ:
    case FD_WRITE:
        if (handshaking)
            StepHandshake(Socket);
        else
            RaiseOrReport(Event == FD_READ ? OnData : OnWrite, Socket, Error);
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
        if (Secure)
            StartTls(Socket);
        else
            Connected(Socket);
        break;
    case FD_CLOSE:
        if (Error == WSAENETDOWN) {
            ReportError(Error);
            break;
        }
        closeError = Error;
        if (tls && !tls->Established()) {
            // The last step reads the server's end and gives the words for it.
            StepHandshake(Socket);
            if (handle == Socket)
                TlsFailed("connection closed during the handshake");
            break;
        }
        if (tls)
            CloseTls(Socket);
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

void TTCPClient::Connected(int Socket)
{
    if (OnConnect)
        OnConnect(this, Socket);
    // A handler that closed the client leaves it closed.
    if (handle == Socket)
        state = stConnected;
}

void TTCPClient::StartTls(int Socket)
{
    {
        std::lock_guard guard(handleLock);
        tls = std::make_unique<TTlsSession>();
    }
    if (!tls->Start(Socket, Host)) {
        TlsFailed(tls->ErrorText());
        return;
    }
    StepHandshake(Socket);
}

void TTCPClient::StepHandshake(int Socket)
{
    switch (tls->Handshake()) {
    case TTlsStep::Done:
        AfterTlsRead(Socket, tls->Pending() > 0, false);
        Connected(Socket);
        break;
    case TTlsStep::WantRead:
        notifier->ReadDone(Socket);
        break;
    case TTlsStep::WantWrite:
        notifier->ReadDone(Socket);
        notifier->WriteBlocked(Socket);
        break;
    default:
        TlsFailed(tls->ErrorText());
        break;
    }
}

void TTCPClient::TlsFailed(const std::string& words)
{
    ReportError(TLS_E_FAILED, words);
    Close();
}

// The peer's data still inside the session goes to OnData first; then an end without
// close_notify is reported.
void TTCPClient::CloseTls(int Socket)
{
    for (size_t waiting = tls->Pending(); OnData && waiting > 0;) {
        OnData(this, Socket);
        size_t left = handle == Socket ? tls->Pending() : 0;
        if (left >= waiting)
            break;  // the handler reads no more
        waiting = left;
    }
    if (!tls->CloseNotified()) {
        tls->EndedWithoutNotify();
        ReportError(TLS_E_CUT_SHORT, tls->ErrorText());
    }
}
