#include "net/dns.h"

#include "core/log.h"
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
    // A key without a value is no entry: the host gets the first address seen after all.
    auto entries = file.ReadSectionValues("www");
    table.reserve(entries.size());
    for (auto& [host, address] : entries)
        if (!address.empty())
            table.emplace(LowerCase(host), std::move(address));
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
    unwritten.emplace_back(host, address);
    WriteUnwritten();
    return address;
}

void TDNS::WriteUnwritten()
{
    while (!unwritten.empty()) {
        try {
            file.WriteString("www", unwritten.front().first, unwritten.front().second);
        } catch (const EProfileWrite& error) {
            TLog::Line("主機位址無法寫入 dns.ini, 下次新增時再寫: " + std::string(error.what()));
            return;
        }
        unwritten.pop_front();
    }
}
