#include "net/http.h"

#include <algorithm>
#include <cstdint>

#include "core/settings.h"
#include "core/text.h"
#include "net/httplimits.h"
#include "net/spliturl.h"
#include "net/tcpiperror.h"

namespace {

constexpr char DefaultPort[] = "80";
constexpr char DefaultSecurePort[] = "443";
constexpr char DefaultProxyPort[] = "8080";

// The request target of an empty path is the root.
std::string RequestPath(const std::string& path)
{
    return path.empty() ? std::string("/") : path;
}

int NumberOr(const std::string& text, int fallback)
{
    long long value = 0;
    return TryToInt(text, value) ? static_cast<int>(value) : fallback;
}

}  // namespace

void THTTP::Get()
{
    statusCode = 0;
    statusText.clear();
    contentLength = 0;
    contentType.clear();
    Target();
    try {
        OpenConnection();
        HeadExchange();
        CloseConnection();
        OpenConnection();
        GetExchange();
        CloseConnection();
    } catch (...) {
        CloseConnection();
        throw;
    }
}

void THTTP::Target()
{
    std::string scheme, user, urlPath, portText, host, password;
    if (!Proxy.empty()) {
        // A proxy is spoken to in plain http; it fetches the whole URL itself.
        Secure = false;
        SplitURL(Proxy, scheme, user, urlPath, portText, host, password);
        path = URL;
        if (portText.empty())
            portText = DefaultProxyPort;
    } else {
        SplitURL(URL, scheme, user, urlPath, portText, host, password);
        path = urlPath;
        TakeScheme(scheme);
        if (portText.empty())
            portText = Secure ? DefaultSecurePort : DefaultPort;
    }
    Host = host;
    path = RequestPath(path);
    Port = StrToInt(portText);
}

void THTTP::SendOptionalHeaders()
{
    if (!Sender.empty())
        WriteText("From: " + Sender + "\r\n");
    if (!Reference.empty())
        WriteText("Referer: " + Reference + "\r\n");
    if (!Agent.empty())
        WriteText("User-Agent: " + Agent + "\r\n");
    if (NoCache)
        WriteText("Pragma: no-cache\r\n");
}

void THTTP::TakeScheme(const std::string& scheme)
{
    Secure = SameText(scheme, "https");
}

void THTTP::HeadExchange()
{
    WriteText("HEAD " + path + " HTTP/1.0\r\n");
    Trace("Requested HEAD data using HTTP/1.0", 2);
    SendOptionalHeaders();
    WriteText("\r\n");
    // An answer cut short goes unnoticed here as any HEAD failure does: the GET decides.
    ReadHeader(true);
}

void THTTP::GetExchange()
{
    WriteText("GET " + path + " HTTP/1.0\r\n");
    WriteText("Accept: */*\r\n");
    Trace("Requested data using HTTP/1.0", 2);
    SendOptionalHeaders();
    WriteText("Host: " + Host + "\r\n");
    WriteText("\r\n");

    // The GET answer decides, not a status left over from the HEAD answer.
    statusCode = 0;
    statusText.clear();
    if (!ReadHeader(false)) {
        RaiseIfBroken();
        throw ETcpIpError("Connection closed by " + Host + " before the end of the header");
    }
    if (statusCode >= 300)
        throw EProtocolError(statusText, statusCode);

    // The body is held in memory, so it is bounded as a grabbed file is.
    const size_t limit = static_cast<size_t>(std::max<std::int64_t>(Settings().maxFileSize, 0));
    if (contentLength > 0 && static_cast<size_t>(contentLength) > limit)
        throw ETcpIpError("Body from " + Host + " larger than " + std::to_string(limit) + " bytes");
    body.clear();
    ReadBody(limit);
    // The length the GET answer declared, or else the HEAD answer's.
    if (contentLength > 0 && body.size() < static_cast<size_t>(contentLength))
        throw ETcpIpError("Connection closed by " + Host + " after " + std::to_string(body.size()) + " of "
                          + std::to_string(contentLength) + " bytes");
    // Without the server's close_notify only a declared length shows the body whole.
    if (CutShort() && contentLength <= 0)
        throw ETcpIpError("Secure connection to " + Host + " closed without close_notify");
}

bool THTTP::ReadHeader(bool head)
{
    std::string line;
    size_t budget = MaxHeaderBytes;
    for (;;) {
        if (!ReadLine(line, budget)) {
            if (budget == 0)
                throw ETcpIpError("Header from " + Host + " longer than " + std::to_string(MaxHeaderBytes) + " bytes");
            return false;
        }
        if (line.empty())
            return true;
        if (line.compare(0, 8, "HTTP/1.0") == 0) {
            TakeStatus(line);
            if (head && statusCode >= 400)
                return true;
        } else if (line.find(':') != std::string::npos) {
            TakeHeader(line, head);
        }
    }
}

void THTTP::TakeStatus(const std::string& line)
{
    statusCode = NumberOr(line.size() > 9 ? line.substr(9, 3) : std::string(), 0);
    statusText = line.size() > 13 ? line.substr(13) : std::string();
    Trace("Received HTTP status " + (line.size() > 9 ? line.substr(9) : std::string()), 2);
}

void THTTP::TakeHeader(const std::string& line, bool head)
{
    size_t colon = line.find(':');
    std::string name = LowerCase(line.substr(0, colon));
    // Any blanks after the colon, not just the usual one, belong to no value.
    std::string value = Trim(line.substr(colon + 1));
    Trace("Received HTTP header line: " + line, 2);
    if (name == "location" && head)
        TakeLocation(value);
    else if (name == "content-length")
        contentLength = NumberOr(value, contentLength);
    else if (name == "content-type")
        contentType = value;
}

void THTTP::TakeLocation(const std::string& value)
{
    if (!Proxy.empty()) {
        path = value;
        return;
    }
    std::string scheme, user, urlPath, portText, host, password;
    SplitURL(value, scheme, user, urlPath, portText, host, password);
    path = RequestPath(urlPath);
    // A location without a host stays on this server; one with a host but no port
    // means the default port of its scheme, not the port of the first server.
    if (host.empty())
        return;
    TakeScheme(scheme);
    Host = host;
    Port = StrToInt(!portText.empty() ? portText : Secure ? DefaultSecurePort : DefaultPort);
}
