#include "net/tlserrors.h"

bool IsTlsError(int code)
{
    return code == TLS_E_FAILED || code == TLS_E_CUT_SHORT;
}

std::string TlsErrorText(int code)
{
    switch (code) {
    case TLS_E_FAILED:
        return "Secure connection failed";
    case TLS_E_CUT_SHORT:
        return "Secure connection closed without close_notify";
    default:
        return {};
    }
}
