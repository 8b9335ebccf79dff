#pragma once

#include <cstddef>
#include <mutex>
#include <string>

struct ssl_st;

// Where a TLS call left the session.
enum class TTlsStep {
    Done,       // the handshake is complete, or bytes were read or written
    WantRead,   // nothing more until the socket can be read
    WantWrite,  // nothing more until the socket can be written
    Closed,     // the peer ended the session with its close_notify
    Failed,     // the session is over; ErrorText says why
};

// The client side of one TLS session over a connected non-blocking socket, for the
// socket components and the HTTP client: the caller drives it from the socket's
// events, or from its own waits, by the step each call returns. SNI and the check of the
// certificate against the host name (or address) come from Start; TLS 1.2 and 1.3
// only. Calls may come from two threads (a worker sending while the event thread
// reads); they are taken one at a time.
class TTlsSession {
public:
    TTlsSession() = default;
    ~TTlsSession();
    TTlsSession(const TTlsSession&) = delete;
    TTlsSession& operator=(const TTlsSession&) = delete;

    // Prepares the session on socket for host, a name or a dotted address. False with
    // ErrorText when the TLS library cannot.
    bool Start(int socket, const std::string& host);
    // One step of the handshake: Done once complete, else what it waits for.
    TTlsStep Handshake();
    bool Established() const;

    // Up to size bytes of the peer's data: the count, with step Done; 0 with the step
    // that stopped it.
    long Read(void* buffer, size_t size, TTlsStep& step);
    // Up to size bytes: the count taken, with step Done; 0 with the step that stopped it.
    long Write(const void* data, size_t size, TTlsStep& step);

    // Bytes of the peer's data waiting inside the session, which the socket no longer shows.
    size_t Pending() const;
    // The peer sent its close_notify: what came before it is whole.
    bool CloseNotified() const;
    // Why the session failed, in the TLS library's words.
    std::string ErrorText() const;
    // The connection ended without the peer's close_notify: the session counts as failed
    // and is never resumed.
    void EndedWithoutNotify();

private:
    TTlsStep Outcome(int result);
    std::string FailureText(int code) const;

    mutable std::mutex lock;
    std::string peer;  // host and port, for the resumption of its sessions
    ssl_st* ssl = nullptr;
    bool established = false;
    std::string error;
};
