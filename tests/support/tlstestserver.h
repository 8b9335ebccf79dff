#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "testauthority.h"

// A small TLS server for tests, on a loopback address and a port the system picks. For
// each connection, one after the other, it makes the handshake with the given
// certificate, reads the request up to its empty line, sends what the answerer gives for
// it, and ends the session with its close_notify, or, when the answer says so, drops the
// connection without one (an answer cut short), or keeps it for the next request.
// Connections are taken one at a time, each within a few seconds, so a stuck client
// cannot hang the tests.
class TlsTestServer {
public:
    struct Answer {
        std::string bytes;
        bool closeNotify = true;
        bool keepOpen = false;  // read the next request on the same connection
    };
    using Answerer = std::function<Answer(const std::string& request)>;
    struct Options {
        std::string address = "127.0.0.1";
        int minVersion = 0;  // TLS1_1_VERSION and so on; 0 for the library's own
        int maxVersion = 0;
    };

    TlsTestServer(const TestAuthority::Pair& pair, Answerer answerer, Options options);
    TlsTestServer(const TestAuthority::Pair& pair, Answerer answerer);
    ~TlsTestServer();
    TlsTestServer(const TlsTestServer&) = delete;
    TlsTestServer& operator=(const TlsTestServer&) = delete;

    bool Running() const { return listener >= 0; }
    const std::string& Error() const { return error; }
    int Port() const { return port; }
    // "https://address:port" followed by path.
    std::string Url(const std::string& path = "/") const;
    // The requests read, in order; a connection whose handshake failed reads none.
    std::vector<std::string> Requests() const;
    int Handshakes() const { return handshakes; }
    // The server name each client asked for in its handshake ("" for none), in order.
    std::vector<std::string> ServerNames() const;
    // For each handshake, in order: whether it resumed an earlier session.
    std::vector<bool> Resumed() const;

private:
    void Serve();
    void ServeOne(int fd);
    // The next request of the connection up to its empty line; empty when it ended first.
    std::string ReadRequest(void* ssl, std::string& carried);

    Answerer answerer;
    Options options;
    std::string error;
    void* context = nullptr;  // the server's SSL_CTX
    int listener = -1;
    int stopEvent = -1;
    int port = 0;
    std::atomic<int> handshakes{0};
    mutable std::mutex lock;
    std::vector<std::string> requests;
    std::vector<std::string> serverNames;
    std::vector<bool> resumed;
    std::thread worker;
};
