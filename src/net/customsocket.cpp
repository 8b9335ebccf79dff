#include "net/customsocket.h"

#include <algorithm>
#include <climits>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "core/mainthread.h"
#include "core/text.h"
#include "core/userinterface.h"
#include "net/hostaddress.h"
#include "net/socketcalls.h"
#include "net/tlserrors.h"
#include "platform/socketerrors.h"

namespace {

// The largest UDP payload over IPv4.
constexpr int MaxUdpPayload = 65507;

int OpenFileLimit()
{
    long limit = ::sysconf(_SC_OPEN_MAX);
    return limit <= 0 || limit > INT_MAX ? INT_MAX : static_cast<int>(limit);
}

}  // namespace

// POSIX sockets need no start-up, so the component starts as Winsock 1.1 would after a
// successful WSAStartup.
TCustomSocket::TCustomSocket()
    : WinsockVersion("1.1"),
      WinsockDescription("POSIX sockets"),
      WinsockStatus("Running"),
      MaxSockets(OpenFileLimit()),
      MaxDatagram(MaxUdpPayload),
      state(stClosed)
{
}

TCustomSocket::~TCustomSocket() = default;

void TCustomSocket::ReportError(int Code)
{
    lastError = Code;
    if (OnError)
        OnError(this, Code, ErrorText());
}

void TCustomSocket::ReportError(int Code, const std::string& Detail)
{
    {
        std::lock_guard guard(detailLock);
        errorDetail = Detail;
    }
    ReportError(Code);
}

std::string TCustomSocket::ErrorText() const
{
    int code = lastError;
    if (!IsTlsError(code))
        return WinsockErrorText(code);
    std::lock_guard guard(detailLock);
    return errorDetail.empty() ? TlsErrorText(code) : TlsErrorText(code) + ": " + errorDetail;
}

bool TCustomSocket::ServicePort(const std::string& Port, int& port, bool reportFailure)
{
    // No service is named with digits only, and the look-up reads the services file on
    // every connection.
    if (!Port.empty() && std::all_of(Port.begin(), Port.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return PortInRange(StrToInt(Port), port);
    std::string protocolName;
    if (!sockapi::ProtocolName(Protocol, protocolName)) {
        if (reportFailure)
            ReportError(sockapi::LastError());
        return false;
    }
    if (!sockapi::ServicePort(Port, protocolName, port))
        return PortInRange(StrToInt(Port), port);
    return true;
}

// A number beyond the port range would otherwise be cut to another, wrong port.
bool TCustomSocket::PortInRange(int number, int& port)
{
    if (number < 0 || number > 65535) {
        ReportError(WSAEINVAL);
        return false;
    }
    port = number;
    return true;
}

bool TCustomSocket::ResolveAddress(const std::string& Host, const std::string& Port, TSocketAddress& Address)
{
    if (!ServicePort(Port, Address.Port, true))
        return false;
    if (ParseDottedAddress(Host, Address.Address))
        return true;
    int code = LookupHost(Host, Address.Address);
    if (code != 0) {
        ReportError(code);
        return false;
    }
    return true;
}

bool TCustomSocket::ResolvePort(const std::string& Port, TSocketAddress& Address)
{
    if (!ServicePort(Port, Address.Port, false))
        return false;
    Address.Address = htonl(INADDR_ANY);
    return true;
}

void TCustomSocket::PeerAddressOf(int Socket, std::string& Text)
{
    uint32_t address;
    int port;
    if (Socket != sockapi::InvalidSocket && sockapi::PeerAddress(Socket, address, port))
        Text = DottedAddress(address);
}

void TCustomSocket::ShutdownSocket(int& Socket, bool Abort)
{
    if (Socket == sockapi::InvalidSocket)
        return;
    // There are no blocking calls to cancel: every socket of the components is non-blocking.
    // An abort skips the shutdown: its FIN, answered quickly by the peer, would put the
    // socket in TIME_WAIT instead of resetting it, and keep its port taken for a minute.
    if ((notifier && notifier->Select(Socket, 0) != 0)
        || (!Abort && sockapi::Shutdown(Socket) != 0 && sockapi::LastError() != WSAENOTCONN)
        || (sockapi::SetLinger(Socket, Abort, 0) != 0 && sockapi::LastError() != WSAENOPROTOOPT)
        || sockapi::Close(Socket) != 0) {
        ReportError(sockapi::LastError());
        return;
    }
    Socket = sockapi::InvalidSocket;
}

void TCustomSocket::ResetConnection(int Socket)
{
    if (Socket != sockapi::InvalidSocket && sockapi::Disconnect(Socket) != 0)
        ReportError(sockapi::LastError());
}

int TCustomSocket::BytesAvailable(int Socket)
{
    int count = 0;
    if (sockapi::BytesAvailable(Socket, count) != 0) {
        ReportError(sockapi::LastError());
        return 0;
    }
    return count;
}

long TCustomSocket::SendOnce(int Socket, const void* Buffer, long Length, int Flags)
{
    long sent = sockapi::Send(Socket, Buffer, static_cast<size_t>(Length), Flags);
    if (sent < 0) {
        int code = sockapi::LastError();
        if (code == WSAEWOULDBLOCK && notifier)
            notifier->WriteBlocked(Socket);
        ReportError(code);
    }
    return sent;
}

void TCustomSocket::SendText(int Socket, int Flags, const std::string& Text)
{
    size_t done = 0;
    while (done < Text.size()) {
        long sent = SendOnce(Socket, Text.data() + done, static_cast<long>(Text.size() - done), Flags);
        if (sent < 0)
            return;
        done += static_cast<size_t>(sent);
    }
}

void TCustomSocket::ReceiveText(int Socket, int Flags, std::string& Text)
{
    std::string buffer(static_cast<size_t>(BytesAvailable(Socket)), '\0');
    long received = buffer.empty() ? 0 : sockapi::Receive(Socket, buffer.data(), buffer.size(), Flags);
    if (notifier)
        notifier->ReadDone(Socket);
    if (received < 0) {
        ReportError(sockapi::LastError());
        return;
    }
    buffer.resize(static_cast<size_t>(received));
    Text = std::move(buffer);
}

long TCustomSocket::SendBuffer(int Socket, const void* Buffer, int Flags, long Length)
{
    if (!WaitWriteBuffer)
        return SendOnce(Socket, Buffer, Length, Flags);
    const char* bytes = static_cast<const char*>(Buffer);
    long done = 0;
    try {
        while (done < Length) {
            long sent = SendOnce(Socket, bytes + done, Length - done, Flags);
            if (sent < 0)
                return sent;
            done += sent;
        }
    } catch (...) {
        // The component's way with an error from an OnError handler inside the loop:
        // sound the alarm and end the call without passing the error on.
        PostToMain([] {
            for (int i = 0; i < 100; ++i)
                Ui().Beep();
        });
        return -1;
    }
    return Length;
}

long TCustomSocket::SendAll(int Socket, const void* Buffer, long Length)
{
    const char* bytes = static_cast<const char*>(Buffer);
    long done = 0;
    while (done < Length) {
        long sent = sockapi::Send(Socket, bytes + done, static_cast<size_t>(Length - done), 0);
        if (sent >= 0) {
            done += sent;
            continue;
        }
        if (sockapi::LastError() != WSAEWOULDBLOCK) {
            ReportError(sockapi::LastError());
            return -1;
        }
        int ready = sockapi::WaitReady(Socket, true, SendTimeout);
        if (ready <= 0) {
            ReportError(ready == 0 ? WSAETIMEDOUT : sockapi::LastError());
            return -1;
        }
    }
    return Length;
}

long TCustomSocket::ReceiveBuffer(int Socket, void* Buffer, int Flags, long Size)
{
    long received = sockapi::Receive(Socket, Buffer, static_cast<size_t>(Size), Flags);
    if (notifier)
        notifier->ReadDone(Socket);
    if (received < 0)
        ReportError(sockapi::LastError());
    return received;
}

std::string TCustomSocket::LocalAddress()
{
    std::string name;
    if (sockapi::HostName(name) != 0) {
        ReportError(sockapi::LastError());
        return std::string();
    }
    uint32_t address;
    if (LookupHost(name, address) != 0)
        return std::string();
    return DottedAddress(address);
}

std::string TCustomSocket::LocalHostName()
{
    std::string name;
    if (sockapi::HostName(name) != 0)
        ReportError(sockapi::LastError());
    return name;
}

int TCustomSocket::BoundPortOf(int Socket) const
{
    uint32_t address;
    int port;
    return Socket != sockapi::InvalidSocket && sockapi::LocalAddress(Socket, address, port) ? port : -1;
}

void TCustomSocket::RaiseOrReport(const std::function<void(TCustomSocket*, int)>& handler, int Socket, int Error)
{
    if (Error != 0)
        ReportError(Error);
    else if (handler)
        handler(this, Socket);
}
