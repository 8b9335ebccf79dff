#pragma once

#include <cstdint>
#include <string>

// IPv4 host addresses, in network order, with 0xFFFFFFFF (-1) for none.

// The address written in host as numbers ("127.0.0.1", also the short forms inet_addr
// takes), or false when host is a name.
bool ParseDottedAddress(const std::string& host, uint32_t& address);

// The first IPv4 address of a host name from the name service; 0 on success, else the
// Winsock number of the failure (11001 to 11004, or a socket error).
int LookupHost(const std::string& host, uint32_t& address);

// -1 for an empty text; the address when host is written as numbers; else the first
// address of the name look-up, or -1 when that fails.
uint32_t ResolveHost(const std::string& host);

// The four bytes of the address as decimal numbers joined by ".".
std::string DottedAddress(uint32_t address);
