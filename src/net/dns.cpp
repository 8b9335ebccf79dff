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

void TDNS::Remember(const std::string& host, const std::string& address)
{
    if (address.empty())
        return;
    {
        std::lock_guard guard(lock);
        if (!table.emplace(LowerCase(host), address).second)
            return;
    }
    file.WriteString("www", host, address);
}
