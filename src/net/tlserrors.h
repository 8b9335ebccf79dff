#pragma once

#include <string>

// Failures of the TLS layer, numbered beyond Winsock's so that they travel through the
// socket components' error reports beside the socket errors.
constexpr int TLS_E_FAILED = 12001;     // no secure connection: handshake or certificate refused
constexpr int TLS_E_CUT_SHORT = 12002;  // the peer closed without its TLS close_notify

bool IsTlsError(int code);

// The fixed English text of a TLS failure number; empty for any other number.
std::string TlsErrorText(int code);
