#include "net/dns.h"

#include "core/paths.h"
#include "core/text.h"

namespace {

TDNS* processCache = nullptr;

}  // namespace

TDNS* HostCache()
{
    return processCache;
}

void SetHostCache(TDNS* cache)
{
    processCache = cache;
}

TDNS::TDNS() : file(JoinPath(ProgramFolder(), "dns.ini"))
{
    for (auto& [host, address] : file.ReadSectionValues("www"))
        table.emplace(LowerCase(host), address);
}

std::string TDNS::Lookup(const std::string& host) const
{
    std::lock_guard guard(lock);
    auto found = table.find(LowerCase(host));
    return found == table.end() ? std::string() : found->second;
}

std::string TDNS::Remember(const std::string& host, const std::string& address)
{
    if (address.empty())
        return Lookup(host);
    {
        std::lock_guard guard(lock);
        auto [entry, added] = table.emplace(LowerCase(host), address);
        if (!added)
            return entry->second;
    }
    file.WriteString("www", host, address);
    return address;
}
