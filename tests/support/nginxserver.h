#pragma once

#include <string>

#include <sys/types.h>

// A real nginx for the tests: serves root (a folder) on a free port of address, with its
// config, logs and pid file in a temporary folder of its own. Stopped by its own pid when
// the object goes. Available() tells whether nginx is installed at all.
class NginxServer {
public:
    struct Options {
        // Serve https with these files (TLS 1.2 and 1.3) instead of http.
        std::string certificate;
        std::string key;
        // More lines for the server block (redirects, a character set, ...).
        std::string serverLines;
    };

    explicit NginxServer(const std::string& root, const std::string& address = "127.0.0.1");
    NginxServer(const std::string& root, const std::string& address, const Options& options);
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    static bool Available();
    bool Running() const { return pid > 0; }
    const std::string& Error() const { return error; }  // why it did not start
    int Port() const { return port; }
    const std::string& Address() const { return address; }
    // "http://address:port" + path, or "https://..." when it serves https.
    std::string Url(const std::string& path = "/") const;

private:
    Options options;
    std::string root;
    std::string address;
    std::string folder;
    std::string error;
    int port = 0;
    pid_t pid = -1;
};

// A TCP port of address that nobody listens on right now.
int FreePort(const std::string& address = "127.0.0.1");
