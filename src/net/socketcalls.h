#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The operating system's socket calls as the socket components use them: IPv4 stream
// sockets, close-on-exec, sends that never raise SIGPIPE. A failing call returns -1 (or
// false) and leaves the Winsock number of its failure in the calling thread's last error,
// as WSAGetLastError gives it. Addresses are IPv4 in network order; ports in host order.
namespace sockapi {

constexpr int InvalidSocket = -1;
constexpr uint32_t NoAddress = 0xFFFFFFFFu;  // INADDR_NONE

int LastError();
void SetLastError(int code);

int Open(bool nonBlocking);
int Close(int s);
int Shutdown(int s);  // both directions
int SetOption(int s, int level, int name, int value);
int SetLinger(int s, bool on, int seconds);
int SetBlocking(int s, bool blocking);
int SetSendTimeout(int s, int milliseconds);
int Bind(int s, uint32_t address, int port);
int Listen(int s, int backlog);
int Accept(int listener);  // the new socket is non-blocking
int Connect(int s, uint32_t address, int port);
// Resets the connection of s at once (a connect to AF_UNSPEC); s stays open, unconnected.
int Disconnect(int s);
long Send(int s, const void* data, size_t length, int flags);
long Receive(int s, void* data, size_t size, int flags);
// What a read would see now without taking it: 1 data waiting, 0 the peer closed,
// -1 an error (last error set; WSAEWOULDBLOCK when nothing happened).
int Peek(int s);
int BytesAvailable(int s, int& count);
int PendingError(int s, int& code);  // SO_ERROR as a Winsock number
int SocketType(int s);               // SO_TYPE; -1 when s is no open socket
bool PeerAddress(int s, uint32_t& address, int& port);
bool LocalAddress(int s, uint32_t& address, int& port);
// Waits until s can be read (or written); 1 ready, 0 the time-out passed, -1 error.
int WaitReady(int s, bool forWriting, int milliseconds);
int HostName(std::string& name);

// The name of an IP protocol number ("tcp" for 6), or false.
bool ProtocolName(int number, std::string& name);
// The port of a service name for a protocol name, or false.
bool ServicePort(const std::string& service, const std::string& protocol, int& port);

}  // namespace sockapi
