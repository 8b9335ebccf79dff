#include "core/urldatabase.h"

#include "core/settings.h"
#include "core/text.h"
#include "core/userinterface.h"

namespace {

bool Refused(const std::string& url)
{
    if (url.empty())
        return true;
    for (const char* scheme : {"mailTo:", "file:", "ftp:", "gopher:"})
        if (StartsWithText(url, scheme))
            return true;
    return false;
}

}  // namespace

TURL_database& UrlDatabase()
{
    static TURL_database database;
    return database;
}

TURL_database::Table::value_type* TURL_database::Admit(const std::string& url)
{
    if (Refused(url))
        return nullptr;
    return &*table.try_emplace(url).first;
}

void TURL_database::ShowAdded(const char* list, const std::string& url, int level) const
{
    if (Settings().bdebugVersion)
        Ui().Message(std::string(list) + "\r" + url + "\r" + std::to_string(level));
}

void TURL_database::AddToVect(Table::value_type& entry, int level)
{
    Place& place = entry.second;
    if (!place.inVect)
        ++vectCount;
    place.inVect = true;
    place.vectLevel = level;
    place.vectTicket = nextTicket++;
    queue.push_back({&entry, place.vectTicket});
    ShowAdded("vect", entry.first, level);
}

void TURL_database::AddToBank(Table::value_type& entry, int level)
{
    Place& place = entry.second;
    if (!place.inBank)
        ++bankCount;
    place.inBank = true;
    place.bankLevel = level;
    ShowAdded("bank", entry.first, level);
}

std::string TURL_database::TakeFirst()
{
    while (!queue.empty()) {
        Slot slot = queue.front();
        queue.pop_front();
        Place& place = slot.entry->second;
        if (!place.inVect || place.vectTicket != slot.ticket)
            continue;
        place.inVect = false;
        --vectCount;
        return slot.entry->first + "=" + std::to_string(place.vectLevel);
    }
    return {};
}

int TURL_database::AddKnown(const std::string& url, int level)
{
    auto found = table.find(url);
    if (found != table.end() && found->second.inBank && found->second.bankLevel >= level)
        return 0;
    if (auto* entry = found != table.end() ? &*found : Admit(url))
        AddToBank(*entry, level);
    return 0;
}

int TURL_database::AddPending(const std::string& url, int level)
{
    auto found = table.find(url);
    if (found != table.end()) {
        const Place& place = found->second;
        if (place.inVect ? place.vectLevel >= level : place.inBank && place.bankLevel >= level)
            return 0;
    }
    if (auto* entry = found != table.end() ? &*found : Admit(url)) {
        AddToVect(*entry, level);
        AddToBank(*entry, level);
    }
    return 0;
}

void TURL_database::ClearAll()
{
    queue.clear();
    table.clear();
    vectCount = 0;
    bankCount = 0;
}
