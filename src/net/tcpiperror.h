#pragma once

#include <stdexcept>
#include <string>

// Failures of the blocking HTTP client. The live fetch turns each into its download-failed
// answer; the class says which step failed.
class ETcpIpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The connection could not be made; ErrorCode is the Winsock number.
class ESocketError : public ETcpIpError {
public:
    explicit ESocketError(int code);
    int ErrorCode;
};

// The server answered with a status that ends the fetch; the message is its status text.
class EProtocolError : public ETcpIpError {
public:
    EProtocolError(const std::string& statusText, int statusCode);
    int ErrorCode;
    std::string Protocol;
};
