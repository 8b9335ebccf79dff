#include "grab/turl.h"

#include <cstdint>
#include <exception>

#include "core/mainthread.h"
#include "core/text.h"
#include "core/userinterface.h"
#include "grab/pagestore.h"
#include "grab/twininet.h"
#include "net/dns.h"

namespace {

constexpr size_t npos = std::string_view::npos;
// Result buffers as the platform library is given them: 300 characters plus the
// terminator for a canonical text, 1000 including it for a combined one.
constexpr size_t CanonicalCapacity = 301;
constexpr size_t CombinedCapacity = 1000;

// Turls are made on worker threads too; the message box belongs to the main thread.
void ShowBuildError(const char* what)
{
    std::string message = "錯誤代碼:uurl 261" + std::string(what);
    Synchronize([&message] { Ui().Error(message); });
}

// A segment that would lead out of its folder, or a NUL that would cut the name short.
bool IsUnsafeSegment(std::string_view segment)
{
    return segment == "." || segment == ".." || segment.find('\0') != npos;
}

}  // namespace

Turl::Turl(std::string_view url)
{
    try {
        TWinInet::CanonicalizeUrl(url, text, CanonicalCapacity);
    } catch (const std::exception& error) {
        text.clear();
        ShowBuildError(error.what());
    }
}

bool Turl::HasDot(std::string_view s)
{
    return s.find('.') != npos;
}

std::string_view Turl::PathView() const
{
    std::string_view all = text;
    size_t slashes = all.find("//");
    if (slashes == npos)
        return HasDot(all) ? std::string_view() : all;
    size_t start = all.find('/', slashes + 2);
    return start == npos ? std::string_view() : all.substr(start);
}

std::string_view Turl::HostAndPortView() const
{
    std::string_view all = text;
    size_t slashes = all.find("//");
    if (slashes == npos)
        return HasDot(all) ? all : std::string_view();
    std::string_view rest = all.substr(slashes + 2);
    size_t end = rest.find('/');
    if (end != npos)
        return rest.substr(0, end);
    return HasDot(rest) ? rest : std::string_view();
}

std::string Turl::PathPart() const
{
    return std::string(PathView());
}

std::string Turl::HostAndPort() const
{
    return std::string(HostAndPortView());
}

std::string Turl::HostName() const
{
    std::string_view host = HostAndPortView();
    return std::string(host.substr(0, host.find(':')));
}

std::string Turl::PortText() const
{
    std::string_view host = HostAndPortView();
    size_t colon = host.find(':');
    long long port = 0;
    if (colon == npos || !TryToInt(std::string(host.substr(colon + 1)), port) || port < INT32_MIN ||
        port > INT32_MAX)
        return IsSecure() ? "443" : "80";
    return std::to_string(port);
}

bool Turl::IsSecure() const
{
    // The canonical text has its scheme in lower case.
    return text.starts_with("https:");
}

Turl Turl::Combine(std::string_view relative) const
{
    std::string_view path = PathView();
    bool atTop = path.size() <= 1 || path.find('/', 1) == npos;
    if (atTop && relative.starts_with(".."))
        relative.remove_prefix(2);
    std::string combined;
    if (!TWinInet::CombineUrl(text, relative, combined, CombinedCapacity))
        return Turl();
    return Turl(combined);
}

std::string Turl::LocalPath() const
{
    std::string_view path = PathView();
    if (!path.starts_with('/') || path.find_first_of("?#|") != npos)
        return {};
    std::string local;
    local.reserve(path.size() + 11);
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        end = end == npos ? path.size() : end;
        std::string_view segment = path.substr(start, end - start);
        if (IsUnsafeSegment(segment))
            return {};
        if (!segment.empty()) {
            if (!local.empty())
                local += '/';
            local.append(segment);
        }
        start = end + 1;
    }
    if (path.ends_with('/'))
        local += local.empty() ? "default.htm" : "/default.htm";
    return local;
}

std::string Turl::StorePath() const
{
    std::string local = LocalPath();
    if (local.empty())
        return {};
    TDNS* cache = HostCache();
    std::string address = cache ? cache->Lookup(HostName()) : std::string();
    if (!address.empty() && !IsSiteFolderName(address))
        return {};
    return std::string(StoreFolderName) + address + "/" + local;
}
