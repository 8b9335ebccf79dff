#pragma once

#include <string>

struct ssl_ctx_st;
struct ssl_st;

// The client context every TLS connection of the program is made from, made at its
// first use and kept for the whole process: TLS 1.2 and 1.3 only, and the server's
// certificate chain checked against the system's trust store (the ca-certificates
// package). The standard variables SSL_CERT_FILE and SSL_CERT_DIR of the TLS library
// name another store; nothing turns the check off. Null when the context cannot be made;
// error then says why.
ssl_ctx_st* ClientTlsContext(std::string& error);

// Lets ssl resume the last session of peer (the host name and port it is for), and keeps
// the sessions the peer gives it for the next connection: a grab makes two connections
// per page, and a resumed handshake spares the certificate's transfer and check. The
// session's own check of host and certificate stays with it.
void ResumeTlsSession(ssl_st* ssl, const std::string& peer);
