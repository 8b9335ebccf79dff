#include "net/tlscontext.h"

#include <mutex>

#include <openssl/err.h>
#include <openssl/ssl.h>

namespace {

std::string LibraryError(const char* what)
{
    unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0)
        return what;
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return std::string(what) + ": " + text;
}

SSL_CTX* MakeContext(std::string& error)
{
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    if (!context) {
        error = LibraryError("TLS context not made");
        return nullptr;
    }
    if (SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION) != 1
        || SSL_CTX_set_max_proto_version(context, TLS1_3_VERSION) != 1
        || SSL_CTX_set_default_verify_paths(context) != 1) {
        error = LibraryError("TLS context not set up");
        SSL_CTX_free(context);
        return nullptr;
    }
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
    // Sends may be taken in part and retried from another place, as the socket
    // components do with plain sends.
    SSL_CTX_set_mode(context, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    return context;
}

}  // namespace

ssl_ctx_st* ClientTlsContext(std::string& error)
{
    static std::once_flag made;
    static SSL_CTX* context = nullptr;
    static std::string failure;
    std::call_once(made, [] { context = MakeContext(failure); });
    if (!context)
        error = failure;
    return context;
}
