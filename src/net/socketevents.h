#pragma once

// The network events of the socket components, with Winsock's numbers: one bit each in a
// selection mask, one at a time in a delivered event.
constexpr int FD_READ = 1;
constexpr int FD_WRITE = 2;
constexpr int FD_OOB = 4;
constexpr int FD_ACCEPT = 8;
constexpr int FD_CONNECT = 16;
constexpr int FD_CLOSE = 32;
