#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TTlsSession;
enum class TTlsStep;

// A trace line of the HTTP client; Level 1 for socket steps, 2 for HTTP steps.
using TOnTrace = std::function<void(const std::string& Msg, int Level)>;

// One TCP connection on a blocking socket, for worker threads: every call waits for the
// network, within the time-outs of HttpTimeouts(). Failures raise ETcpIpError or its
// descendants (tcpiperror.h).
class TTcpIp {
public:
    TTcpIp();
    virtual ~TTcpIp();
    TTcpIp(const TTcpIp&) = delete;
    TTcpIp& operator=(const TTcpIp&) = delete;

    std::string Host;
    int Port = 0;
    // Speak TLS on the connection: OpenConnection then also makes the handshake, with the
    // server's certificate checked against Host, within the connect time-out.
    bool Secure = false;
    TOnTrace OnTrace;

    // What the last Get received.
    const std::string& Body() const { return body; }

    // Connects, then reads everything the server sends into Body (bounded by the largest
    // file size of the settings).
    virtual void Get();
    // Connects to Host:Port, closing any connection held before.
    virtual void OpenConnection();
    virtual void CloseConnection();
    // True once the connection has ended, or when there is none.
    virtual bool Finished();
    // The secure connection ended without the server's close_notify, so what came may be
    // cut short.
    bool CutShort() const { return cutShort; }

    // Reads what is there, up to Size bytes (into a scratch buffer when Buffer is null);
    // Count is 0 once the connection has ended.
    void ReadBlock(char* Buffer, int Size, int& Count);
    // Reads one CR LF line without its end. When the connection ends first, Line is
    // empty and the result false, so that header loops end.
    bool ReadLine(std::string& Line);
    // The same, taking at most Budget bytes, line end included; Budget goes down by the
    // bytes taken. A line that does not end within it gives false with Budget 0.
    bool ReadLine(std::string& Line, size_t& Budget);
    void WriteText(const std::string& Text);
    // The Winsock error that ended the connection while reading; 0 after an orderly end.
    int ReadError() const { return readError; }

protected:
    void Trace(const std::string& Msg, int Level) const;
    // Reads until the connection ends, appending to Body. Raises ETcpIpError when Body
    // would grow past Limit bytes or the connection broke instead of ending.
    void ReadBody(size_t Limit);
    // Raises ETcpIpError when the connection ended by an error (a reset) rather than in
    // order.
    void RaiseIfBroken();

    std::string body;

private:
    bool ConnectSocket(int& error);
    void StartTls();
    // Waits until the socket is ready for what step asks; false when the time-out passed.
    bool WaitForTls(TTlsStep step, int milliseconds);
    int ReadTls(char* Buffer, int Size);

    uint32_t address = 0xFFFFFFFFu;
    int socket = -1;
    bool ended = false;
    int readError = 0;
    bool cutShort = false;
    std::unique_ptr<TTlsSession> tls;
};
