#include "net/tcpiperror.h"

#include <cstdint>

ESocketError::ESocketError(int code) : ETcpIpError("Error creating socket"), ErrorCode(static_cast<uint16_t>(code))
{
}

EProtocolError::EProtocolError(const std::string& statusText, int statusCode)
    : ETcpIpError(statusText), ErrorCode(static_cast<uint16_t>(statusCode)), Protocol("HTTP")
{
}
