#include "net/socketcalls.h"

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/socketerrors.h"

namespace sockapi {

namespace {

thread_local int lastError = 0;

// Every failing call ends here: the errno of the call becomes the thread's last error.
int Failed()
{
    lastError = WinsockErrorOfErrno(errno);
    return -1;
}

int Checked(int result)
{
    return result < 0 ? Failed() : 0;
}

sockaddr_in MakeAddress(uint32_t address, int port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = address;
    result.sin_port = htons(static_cast<uint16_t>(port));
    return result;
}

bool NameOf(int s, bool peer, uint32_t& address, int& port)
{
    sockaddr_in name{};
    socklen_t length = sizeof name;
    int result = peer ? ::getpeername(s, reinterpret_cast<sockaddr*>(&name), &length)
                      : ::getsockname(s, reinterpret_cast<sockaddr*>(&name), &length);
    if (result != 0) {
        Failed();
        return false;
    }
    if (name.sin_family != AF_INET) {
        lastError = WSAEINVAL;
        return false;
    }
    address = name.sin_addr.s_addr;
    port = ntohs(name.sin_port);
    return true;
}

}  // namespace

int LastError()
{
    return lastError;
}

void SetLastError(int code)
{
    lastError = code;
}

int Open(bool nonBlocking)
{
    int type = SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0);
    int s = ::socket(AF_INET, type, 0);
    return s < 0 ? Failed() : s;
}

int Close(int s)
{
    // Linux frees the descriptor even when close reports EINTR; a retry could close
    // a descriptor that another thread has opened meanwhile.
    if (::close(s) != 0 && errno != EINTR)
        return Failed();
    return 0;
}

int Shutdown(int s)
{
    return Checked(::shutdown(s, SHUT_RDWR));
}

int SetOption(int s, int level, int name, int value)
{
    return Checked(::setsockopt(s, level, name, &value, sizeof value));
}

int SetLinger(int s, bool on, int seconds)
{
    linger value{};
    value.l_onoff = on ? 1 : 0;
    value.l_linger = seconds;
    return Checked(::setsockopt(s, SOL_SOCKET, SO_LINGER, &value, sizeof value));
}

int SetBlocking(int s, bool blocking)
{
    int flags = ::fcntl(s, F_GETFL);
    if (flags < 0)
        return Failed();
    flags = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    return Checked(::fcntl(s, F_SETFL, flags));
}

int SetSendTimeout(int s, int milliseconds)
{
    timeval value{};
    value.tv_sec = milliseconds / 1000;
    value.tv_usec = (milliseconds % 1000) * 1000;
    return Checked(::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &value, sizeof value));
}

int Bind(int s, uint32_t address, int port)
{
    sockaddr_in name = MakeAddress(address, port);
    return Checked(::bind(s, reinterpret_cast<const sockaddr*>(&name), sizeof name));
}

int Listen(int s, int backlog)
{
    return Checked(::listen(s, backlog));
}

int Accept(int listener)
{
    for (;;) {
        int s = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (s >= 0)
            return s;
        if (errno != EINTR)
            return Failed();
    }
}

int Connect(int s, uint32_t address, int port)
{
    sockaddr_in name = MakeAddress(address, port);
    return Checked(::connect(s, reinterpret_cast<const sockaddr*>(&name), sizeof name));
}

int Disconnect(int s)
{
    sockaddr none{};
    none.sa_family = AF_UNSPEC;
    return Checked(::connect(s, &none, sizeof none));
}

long Send(int s, const void* data, size_t length, int flags)
{
    for (;;) {
        ssize_t sent = ::send(s, data, length, flags | MSG_NOSIGNAL);
        if (sent >= 0)
            return static_cast<long>(sent);
        if (errno != EINTR)
            return Failed();
    }
}

long Receive(int s, void* data, size_t size, int flags)
{
    for (;;) {
        ssize_t received = ::recv(s, data, size, flags);
        if (received >= 0)
            return static_cast<long>(received);
        if (errno != EINTR)
            return Failed();
    }
}

int Peek(int s)
{
    char byte;
    long result = Receive(s, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return result > 0 ? 1 : static_cast<int>(result);
}

int BytesAvailable(int s, int& count)
{
    int value = 0;
    if (::ioctl(s, FIONREAD, &value) != 0)
        return Failed();
    count = value;
    return 0;
}

int PendingError(int s, int& code)
{
    int value = 0;
    socklen_t length = sizeof value;
    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &value, &length) != 0)
        return Failed();
    code = value == 0 ? 0 : WinsockErrorOfErrno(value);
    return 0;
}

int SocketType(int s)
{
    int value = 0;
    socklen_t length = sizeof value;
    if (::getsockopt(s, SOL_SOCKET, SO_TYPE, &value, &length) != 0)
        return Failed();
    return value;
}

bool PeerAddress(int s, uint32_t& address, int& port)
{
    return NameOf(s, true, address, port);
}

bool LocalAddress(int s, uint32_t& address, int& port)
{
    return NameOf(s, false, address, port);
}

int WaitReady(int s, bool forWriting, int milliseconds)
{
    pollfd watch{};
    watch.fd = s;
    watch.events = forWriting ? POLLOUT : POLLIN;
    for (;;) {
        int result = ::poll(&watch, 1, milliseconds);
        if (result > 0)
            return 1;
        if (result == 0)
            return 0;
        if (errno != EINTR)
            return Failed();
    }
}

int HostName(std::string& name)
{
    char buffer[128] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return Failed();
    name = buffer;
    return 0;
}

bool ProtocolName(int number, std::string& name)
{
    // Known without /etc/protocols, which small systems may lack.
    switch (number) {
    case 0:
        name = "ip";
        return true;
    case IPPROTO_TCP:
        name = "tcp";
        return true;
    case IPPROTO_UDP:
        name = "udp";
        return true;
    default:
        break;
    }
    protoent entry{};
    protoent* found = nullptr;
    char buffer[1024];
    if (::getprotobynumber_r(number, &entry, buffer, sizeof buffer, &found) != 0 || !found) {
        lastError = WSANO_DATA;
        return false;
    }
    name = found->p_name;
    return true;
}

bool ServicePort(const std::string& service, const std::string& protocol, int& port)
{
    servent entry{};
    servent* found = nullptr;
    char buffer[1024];
    if (::getservbyname_r(service.c_str(), protocol.c_str(), &entry, buffer, sizeof buffer, &found) != 0
        || !found)
        return false;
    port = ntohs(static_cast<uint16_t>(found->s_port));
    return true;
}

}  // namespace sockapi
