#include "net/hostaddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "net/socketcalls.h"
#include "platform/socketerrors.h"

bool ParseDottedAddress(const std::string& host, uint32_t& address)
{
    in_addr parsed{};
    if (host.empty() || ::inet_aton(host.c_str(), &parsed) == 0)
        return false;
    address = parsed.s_addr;
    return true;
}

int LookupHost(const std::string& host, uint32_t& address)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int result = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result != 0)
        return WinsockErrorOfLookup(result);
    int code = WSANO_DATA;
    for (addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET) {
            address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
            code = 0;
            break;
        }
    }
    ::freeaddrinfo(found);
    return code;
}

uint32_t ResolveHost(const std::string& host)
{
    uint32_t address = sockapi::NoAddress;
    if (host.empty() || ParseDottedAddress(host, address))
        return address;
    if (LookupHost(host, address) != 0)
        return sockapi::NoAddress;
    return address;
}

std::string DottedAddress(uint32_t address)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "."
        + std::to_string(bytes[3]);
}
