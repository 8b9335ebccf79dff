#include "net/spliturl.h"

#include "core/text.h"

int CharPos(char c, const std::string& text, int n)
{
    if (n == 0)
        n = 1;
    const int length = static_cast<int>(text.size());
    if (n > 0) {
        for (int i = 0; i < length; ++i)
            if (text[static_cast<size_t>(i)] == c && --n == 0)
                return i + 1;
    } else {
        for (int i = length - 1; i >= 0; --i)
            if (text[static_cast<size_t>(i)] == c && ++n == 0)
                return i + 1;
    }
    return 0;
}

void SplitURL(const std::string& text, std::string& scheme, std::string& user, std::string& path, std::string& port,
              std::string& host, std::string& password)
{
    scheme.clear();
    user.clear();
    path.clear();
    port.clear();
    host.clear();
    password.clear();

    std::string rest = text;
    size_t separator = text.find("://");
    if (separator != std::string::npos) {
        scheme = text.substr(0, separator);
        rest = text.substr(separator + 3);
    } else if (StartsWithText(text, "mailto:")) {
        scheme = "mailto";
        rest = text.substr(text.find(':') + 1);
    }

    size_t slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    if (slash != std::string::npos)
        path = rest.substr(slash);

    // 1-based, 0 for none, as the rules below count them.
    int b = CharPos(':', authority, -1);
    int c = CharPos('@', authority, -1);
    if (b == 0 && c == 0) {
        host = authority;
        return;
    }
    if (c < b) {
        port = authority.substr(static_cast<size_t>(b));
        host = authority.substr(static_cast<size_t>(c), static_cast<size_t>(b - c - 1));
        if (c == 0)
            return;
    } else {
        host = authority.substr(static_cast<size_t>(c));
    }
    std::string userInfo = authority.substr(0, static_cast<size_t>(c - 1));
    size_t colon = userInfo.find(':');
    user = userInfo.substr(0, colon);
    if (colon != std::string::npos)
        password = userInfo.substr(colon + 1);
}
