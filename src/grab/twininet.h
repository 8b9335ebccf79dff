#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The two URL calls the grabber needs of a platform URL library, done by our own RFC 3986
// code. As with such a library, the caller names the size of its result buffer, which
// counts the terminating zero: a result that does not fit is a failure.
class TWinInet {
public:
    // Decodes percent escapes and encodes nothing (see CanonicalUrl). False, with an
    // empty result, for an empty text or a result that does not fit.
    static bool CanonicalizeUrl(std::string_view url, std::string& result, size_t capacity);
    // Resolves relative against base. False, with an empty result, when it cannot be
    // resolved or the result does not fit.
    static bool CombineUrl(std::string_view base, std::string_view relative, std::string& result,
                           size_t capacity);
};
