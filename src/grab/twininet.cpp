#include "grab/twininet.h"

#include "grab/urlcanon.h"

namespace {

bool Fits(std::string& result, size_t capacity)
{
    if (result.size() < capacity)
        return true;
    result.clear();
    return false;
}

}  // namespace

bool TWinInet::CanonicalizeUrl(std::string_view url, std::string& result, size_t capacity)
{
    result = CanonicalUrl(url);
    return !result.empty() && Fits(result, capacity);
}

bool TWinInet::CombineUrl(std::string_view base, std::string_view relative, std::string& result,
                          size_t capacity)
{
    if (!ResolveReference(base, relative, result)) {
        result.clear();
        return false;
    }
    return Fits(result, capacity);
}
