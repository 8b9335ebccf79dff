#include "net/tlscontext.h"

#include <map>
#include <mutex>

#include <openssl/err.h>
#include <openssl/ssl.h>

namespace {

// Peers a grab meets at once are few; a cache beyond this is emptied and starts again.
constexpr size_t MaxCachedPeers = 256;

// The latest session of each peer, offered to every later connection to it until a newer
// one comes: a grab connects to one server thousands of times, and servers give fewer
// tickets than connections.
class TSessionCache {
public:
    ~TSessionCache() { Clear(); }

    static TSessionCache& Get()
    {
        static TSessionCache cache;
        return cache;
    }
    static int Taken(SSL* ssl, SSL_SESSION* session)
    {
        auto* peer = static_cast<const std::string*>(SSL_get_app_data(ssl));
        if (!peer)
            return 0;
        Get().Keep(*peer, session);
        return 1;  // the cache holds the reference now
    }

    void Keep(const std::string& peer, SSL_SESSION* session)
    {
        std::lock_guard guard(lock);
        if (sessions.size() >= MaxCachedPeers && !sessions.count(peer))
            Clear();
        SSL_SESSION*& kept = sessions[peer];
        if (kept)
            SSL_SESSION_free(kept);
        kept = session;
    }
    void Offer(SSL* ssl, const std::string& peer)
    {
        std::lock_guard guard(lock);
        auto found = sessions.find(peer);
        if (found != sessions.end() && SSL_SESSION_is_resumable(found->second))
            SSL_set_session(ssl, found->second);
    }

private:
    void Clear()
    {
        for (auto& [peer, session] : sessions)
            SSL_SESSION_free(session);
        sessions.clear();
    }

    std::mutex lock;
    std::map<std::string, SSL_SESSION*> sessions;
};

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
    SSL_CTX_set_session_cache_mode(context, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
    SSL_CTX_sess_set_new_cb(context, TSessionCache::Taken);
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

void ResumeTlsSession(ssl_st* ssl, const std::string& peer)
{
    // The name lives as long as the session object that owns ssl.
    SSL_set_app_data(ssl, &peer);
    TSessionCache::Get().Offer(ssl, peer);
}
