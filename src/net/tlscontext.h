#pragma once

#include <string>

struct ssl_ctx_st;

// The client context every TLS connection of the program is made from, made at its
// first use and kept for the whole process: TLS 1.2 and 1.3 only, and the server's
// certificate chain checked against the system's trust store (the ca-certificates
// package). The standard variables SSL_CERT_FILE and SSL_CERT_DIR of the TLS library
// name another store; nothing turns the check off. Null when the context cannot be made;
// error then says why.
ssl_ctx_st* ClientTlsContext(std::string& error);
