#include "grab/wirepath.h"

#include <cstring>

std::string WirePath(const std::string& path)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string wire;
    wire.reserve(path.size());
    for (char c : path) {
        auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || std::strchr("%\"<>\\^`{|}", c)) {
            wire += '%';
            wire += digits[byte >> 4];
            wire += digits[byte & 15];
        } else {
            wire += c;
        }
    }
    return wire;
}
