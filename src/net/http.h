#pragma once

#include <string>

#include "core/version.h"
#include "net/tcpip.h"

// Fetches one URL with HTTP/1.0: a HEAD request, whose "Location:" may move the target,
// then a GET request on a second connection; the answer's body lands in Body. "https"
// addresses, also in a Location, are fetched over TLS (port 443 unless they name
// another). Blocking,
// for worker threads. Raises ETcpIpError (the host cannot be resolved, the connection
// ended inside the header, a header over MaxHeaderBytes, a body over the largest file
// size of the settings or short of its declared length, a broken connection, no data in
// time), ESocketError (no connection) and EProtocolError (a GET status of 300 or more);
// a Port that is not a number raises EConvertError.
class THTTP : public TTcpIp {
public:
    std::string URL;
    std::string Proxy;  // host:port of a proxy to send the whole URL to; empty for none
    std::string Sender;
    std::string Reference;
    std::string Agent = UserAgent();
    bool NoCache = false;

    const std::string& Path() const { return path; }
    int StatusCode() const { return statusCode; }
    const std::string& StatusText() const { return statusText; }
    int ContentLength() const { return contentLength; }
    const std::string& ContentType() const { return contentType; }

    void Get() override;

private:
    void Target();
    void HeadExchange();
    void GetExchange();
    void SendOptionalHeaders();
    // Reads header lines up to the empty line; false when the connection ended first.
    bool ReadHeader(bool head);
    void TakeStatus(const std::string& line);
    void TakeHeader(const std::string& line, bool head);
    void TakeLocation(const std::string& value);
    void TakeScheme(const std::string& scheme);

    std::string path;
    int statusCode = 0;
    std::string statusText;
    int contentLength = 0;
    std::string contentType;
};
