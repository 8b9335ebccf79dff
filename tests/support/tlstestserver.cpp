#include "tlstestserver.h"

#include <csignal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

constexpr int kClientSeconds = 5;

SSL_CTX* ServerContext(const TestAuthority::Pair& pair, const TlsTestServer::Options& options, std::string& error)
{
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (!context) {
        error = "no TLS server context";
        return nullptr;
    }
    if (options.minVersion != 0 && options.minVersion < TLS1_2_VERSION) {
        // Old protocol versions need the old ciphers and signatures back.
        SSL_CTX_set_security_level(context, 0);
        SSL_CTX_set_cipher_list(context, "DEFAULT@SECLEVEL=0");
    }
    if ((options.minVersion != 0 && SSL_CTX_set_min_proto_version(context, options.minVersion) != 1)
        || (options.maxVersion != 0 && SSL_CTX_set_max_proto_version(context, options.maxVersion) != 1)
        || SSL_CTX_use_certificate_chain_file(context, pair.certificate.c_str()) != 1
        || SSL_CTX_use_PrivateKey_file(context, pair.key.c_str(), SSL_FILETYPE_PEM) != 1) {
        error = "the TLS server cannot use " + pair.certificate;
        SSL_CTX_free(context);
        return nullptr;
    }
    return context;
}

}  // namespace

TlsTestServer::TlsTestServer(const TestAuthority::Pair& pair, Answerer answerer)
    : TlsTestServer(pair, std::move(answerer), Options{})
{
}

TlsTestServer::TlsTestServer(const TestAuthority::Pair& pair, Answerer answerer, Options options)
    : answerer(std::move(answerer)), options(std::move(options))
{
    context = ServerContext(pair, this->options, error);
    if (!context)
        return;
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, this->options.address.c_str(), &local.sin_addr);
    socklen_t size = sizeof local;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || ::listen(fd, 16) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        error = "the TLS server cannot listen";
        if (fd >= 0)
            ::close(fd);
        return;
    }
    listener = fd;
    port = ntohs(local.sin_port);
    stopEvent = ::eventfd(0, EFD_CLOEXEC);
    worker = std::thread([this] { Serve(); });
}

TlsTestServer::~TlsTestServer()
{
    if (worker.joinable()) {
        uint64_t one = 1;
        (void)!::write(stopEvent, &one, sizeof one);
        worker.join();
    }
    if (listener >= 0)
        ::close(listener);
    if (stopEvent >= 0)
        ::close(stopEvent);
    if (context)
        SSL_CTX_free(static_cast<SSL_CTX*>(context));
}

std::string TlsTestServer::Url(const std::string& path) const
{
    return "https://" + options.address + ":" + std::to_string(port) + path;
}

std::vector<std::string> TlsTestServer::Requests() const
{
    std::lock_guard guard(lock);
    return requests;
}

std::vector<std::string> TlsTestServer::ServerNames() const
{
    std::lock_guard guard(lock);
    return serverNames;
}

std::vector<bool> TlsTestServer::Resumed() const
{
    std::lock_guard guard(lock);
    return resumed;
}

void TlsTestServer::Serve()
{
    // A client that went away must not end the test program through SIGPIPE; the signal
    // is blocked for this thread alone.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    for (;;) {
        pollfd waits[2] = {{listener, POLLIN, 0}, {stopEvent, POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0 || (waits[1].revents & POLLIN))
            return;
        int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        timeval limit{kClientSeconds, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        ServeOne(fd);
        ::close(fd);
    }
}

void TlsTestServer::ServeOne(int fd)
{
    SSL* ssl = SSL_new(static_cast<SSL_CTX*>(context));
    SSL_set_fd(ssl, fd);
    if (SSL_accept(ssl) != 1) {
        SSL_free(ssl);
        return;
    }
    ++handshakes;
    {
        const char* name = SSL_get_servername(ssl, TLSEXT_NAMETYPE_host_name);
        std::lock_guard guard(lock);
        serverNames.push_back(name ? name : "");
        resumed.push_back(SSL_session_reused(ssl) == 1);
    }
    std::string carried;
    Answer answer;
    for (bool first = true;; first = false) {
        std::string request = ReadRequest(ssl, carried);
        if (request.empty() && !first)
            break;  // the client closed the connection it had kept
        {
            std::lock_guard guard(lock);
            requests.push_back(request);
        }
        answer = answerer(request);
        size_t done = 0;
        while (done < answer.bytes.size()) {
            int count = SSL_write(ssl, answer.bytes.data() + done, static_cast<int>(answer.bytes.size() - done));
            if (count <= 0)
                break;
            done += static_cast<size_t>(count);
        }
        if (!answer.keepOpen)
            break;
    }
    if (answer.closeNotify)
        SSL_shutdown(ssl);
    SSL_free(ssl);
}

std::string TlsTestServer::ReadRequest(void* ssl, std::string& carried)
{
    char buffer[4096];
    size_t end;
    while ((end = carried.find("\r\n\r\n")) == std::string::npos) {
        int count = SSL_read(static_cast<SSL*>(ssl), buffer, sizeof buffer);
        if (count <= 0) {
            std::string partial;
            partial.swap(carried);
            return partial;
        }
        carried.append(buffer, static_cast<size_t>(count));
    }
    std::string request = carried.substr(0, end + 4);
    carried.erase(0, end + 4);
    return request;
}
