#include "net/tlssession.h"

#include <climits>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include "net/socketcalls.h"
#include "net/tlscontext.h"
#include "net/tlssocketbio.h"
#include "platform/socketerrors.h"

namespace {

bool IsAddress(const std::string& host)
{
    in_addr address{};
    return ::inet_pton(AF_INET, host.c_str(), &address) == 1;
}

int Clamp(size_t size)
{
    return size > INT_MAX ? INT_MAX : static_cast<int>(size);
}

}  // namespace

TTlsSession::~TTlsSession()
{
    if (!ssl)
        return;
    // A session that went well stays good for resuming, though its connection is closed
    // without close_notify of ours; one that failed is dropped by the library.
    if (established && error.empty())
        SSL_set_shutdown(ssl, SSL_SENT_SHUTDOWN | SSL_RECEIVED_SHUTDOWN);
    SSL_free(ssl);
}

bool TTlsSession::Start(int socket, const std::string& host)
{
    std::lock_guard guard(lock);
    SSL_CTX* context = ClientTlsContext(error);
    if (!context)
        return false;
    if (host.empty()) {
        error = "no host name to check the certificate against";
        return false;
    }
    ERR_clear_error();
    ssl = SSL_new(context);
    BIO* bio = ssl ? NewSocketBio(socket) : nullptr;
    if (!bio) {
        error = "TLS session not made";
        return false;
    }
    SSL_set_bio(ssl, bio, bio);
    SSL_set_connect_state(ssl);
    // Each record goes out at once: the handshake's last flight and a request sent in
    // pieces would otherwise wait for the peer's delayed acknowledgement. Without the
    // option the session still works, only slower.
    sockapi::SetOption(socket, IPPROTO_TCP, TCP_NODELAY, 1);
    bool named;
    if (IsAddress(host)) {
        // A server reached by its address shows a certificate for that address; server
        // name indication carries names only.
        named = X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host.c_str()) == 1;
    } else {
        SSL_set_hostflags(ssl, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        named = SSL_set_tlsext_host_name(ssl, host.c_str()) == 1 && SSL_set1_host(ssl, host.c_str()) == 1;
    }
    if (!named) {
        error = "host name " + host + " cannot be checked";
        return false;
    }
    uint32_t address;
    int port = 0;
    sockapi::PeerAddress(socket, address, port);
    peer = host + ":" + std::to_string(port);
    ResumeTlsSession(ssl, peer);
    return true;
}

TTlsStep TTlsSession::Handshake()
{
    std::lock_guard guard(lock);
    if (!ssl)
        return TTlsStep::Failed;
    if (established)
        return TTlsStep::Done;
    ERR_clear_error();
    int result = SSL_do_handshake(ssl);
    if (result == 1) {
        established = true;
        return TTlsStep::Done;
    }
    TTlsStep step = Outcome(result);
    // A close before the handshake ends leaves no session to call closed.
    return step == TTlsStep::Closed ? TTlsStep::Failed : step;
}

bool TTlsSession::Established() const
{
    std::lock_guard guard(lock);
    return established;
}

long TTlsSession::Read(void* buffer, size_t size, TTlsStep& step)
{
    std::lock_guard guard(lock);
    if (!ssl || !established) {
        step = TTlsStep::Failed;
        return 0;
    }
    ERR_clear_error();
    int result = SSL_read(ssl, buffer, Clamp(size));
    if (result > 0) {
        step = TTlsStep::Done;
        return result;
    }
    step = Outcome(result);
    return 0;
}

long TTlsSession::Write(const void* data, size_t size, TTlsStep& step)
{
    std::lock_guard guard(lock);
    if (!ssl || !established) {
        step = TTlsStep::Failed;
        return 0;
    }
    if (size == 0) {
        step = TTlsStep::Done;
        return 0;
    }
    ERR_clear_error();
    int result = SSL_write(ssl, data, Clamp(size));
    if (result > 0) {
        step = TTlsStep::Done;
        return result;
    }
    step = Outcome(result);
    return 0;
}

size_t TTlsSession::Pending() const
{
    std::lock_guard guard(lock);
    int waiting = ssl ? SSL_pending(ssl) : 0;
    return waiting > 0 ? static_cast<size_t>(waiting) : 0;
}

bool TTlsSession::CloseNotified() const
{
    std::lock_guard guard(lock);
    return ssl && (SSL_get_shutdown(ssl) & SSL_RECEIVED_SHUTDOWN) != 0;
}

std::string TTlsSession::ErrorText() const
{
    std::lock_guard guard(lock);
    return error;
}

void TTlsSession::EndedWithoutNotify()
{
    std::lock_guard guard(lock);
    if (error.empty())
        error = "the server closed the connection";
}

TTlsStep TTlsSession::Outcome(int result)
{
    int code = SSL_get_error(ssl, result);
    switch (code) {
    case SSL_ERROR_WANT_READ:
        return TTlsStep::WantRead;
    case SSL_ERROR_WANT_WRITE:
        return TTlsStep::WantWrite;
    case SSL_ERROR_ZERO_RETURN:
        return TTlsStep::Closed;
    default:
        error = FailureText(code);
        ERR_clear_error();
        return TTlsStep::Failed;
    }
}

std::string TTlsSession::FailureText(int code) const
{
    long verified = SSL_get_verify_result(ssl);
    if (verified != X509_V_OK)
        return std::string("certificate verify failed: ") + X509_verify_cert_error_string(verified);
    unsigned long library = ERR_peek_last_error();
    if (library != 0) {
        const char* reason = ERR_reason_error_string(library);
        if (reason)
            return reason;
        char text[256];
        ERR_error_string_n(library, text, sizeof text);
        return text;
    }
    int socketError = SocketBioError(SSL_get_rbio(ssl));
    if (code == SSL_ERROR_SYSCALL && socketError != 0 && socketError != WSAEWOULDBLOCK)
        return WinsockErrorText(socketError);
    return "unexpected eof while reading";
}
