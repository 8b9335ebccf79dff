#include "platform/codepage.h"

#include <cerrno>

#include <iconv.h>

namespace {

std::string Convert(const std::string& text, const char* to, const char* from)
{
    iconv_t converter = ::iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return text;
    std::string result;
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        size_t done = ::iconv(converter, &in, &inLeft, &out, &outLeft);
        result.append(buffer, sizeof buffer - outLeft);
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            // An unconvertible or broken sequence: mark it and go on after its first byte.
            result += '?';
            ++in;
            --inLeft;
        }
    }
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    ::iconv(converter, nullptr, nullptr, &out, &outLeft);
    result.append(buffer, sizeof buffer - outLeft);
    ::iconv_close(converter);
    return result;
}

}  // namespace

std::string Utf8ToBig5(const std::string& text)
{
    return Convert(text, "BIG5", "UTF-8");
}

std::string Big5ToUtf8(const std::string& text)
{
    return Convert(text, "UTF-8", "BIG5");
}
