#pragma once

#include <string>

// The Winsock error numbers that the socket components report, so that their fixed texts
// hold on every platform. Names and values are Winsock's.
constexpr int WSAEINTR = 10004;
constexpr int WSAEBADF = 10009;
constexpr int WSAEACCES = 10013;
constexpr int WSAEFAULT = 10014;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEMFILE = 10024;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAEINPROGRESS = 10036;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAENOPROTOOPT = 10042;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAEADDRNOTAVAIL = 10049;
constexpr int WSAENETDOWN = 10050;
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENOBUFS = 10055;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAESHUTDOWN = 10058;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAHOST_NOT_FOUND = 11001;
constexpr int WSATRY_AGAIN = 11002;
constexpr int WSANO_RECOVERY = 11003;
constexpr int WSANO_DATA = 11004;

// The Winsock number of a POSIX errno value. A value Winsock has no number for comes back
// unchanged, so it still names the failure and reads as "Not a Winsock error".
int WinsockErrorOfErrno(int error);

// The Winsock number of a getaddrinfo result (EAI_...); EAI_SYSTEM uses errno.
int WinsockErrorOfLookup(int result);

// The fixed English text of a Winsock number; "Not a Winsock error" outside the table.
std::string WinsockErrorText(int code);
