#include "core/urldatabase.h"

#include <cstring>
#include <functional>

#include "core/mainthread.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/userinterface.h"

namespace {

const size_t kTextBlock = 64 * 1024;

bool Refused(const std::string& url)
{
    if (url.empty())
        return true;
    for (const char* scheme : {"mailTo:", "file:", "ftp:", "gopher:"})
        if (StartsWithText(url, scheme))
            return true;
    return false;
}

std::uint64_t HashOf(const std::string& url)
{
    return std::hash<std::string_view>()(url);
}

}  // namespace

TURL_database& UrlDatabase()
{
    static TURL_database database;
    return database;
}

TURL_database::Record* TURL_database::Find(const std::string& url, std::uint64_t hash)
{
    if (index.empty())
        return nullptr;
    size_t mask = index.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        std::uint32_t slot = index[i];
        if (slot == 0)
            return nullptr;
        Record& record = records[slot - 1];
        if (record.hash == hash && record.url == url)
            return &record;
    }
}

std::string_view TURL_database::Keep(const std::string& url)
{
    if (url.size() > blockSize - blockUsed) {
        blockSize = std::max(kTextBlock, url.size());
        texts.push_back(std::make_unique<char[]>(blockSize));
        blockUsed = 0;
    }
    char* place = texts.back().get() + blockUsed;
    std::memcpy(place, url.data(), url.size());
    blockUsed += url.size();
    return {place, url.size()};
}

void TURL_database::Grow()
{
    std::vector<std::uint32_t> larger(index.empty() ? 1024 : index.size() * 2, 0);
    size_t mask = larger.size() - 1;
    for (std::uint32_t n = 0; n < records.size(); ++n) {
        size_t i = records[n].hash & mask;
        while (larger[i] != 0)
            i = (i + 1) & mask;
        larger[i] = n + 1;
    }
    index.swap(larger);
}

TURL_database::Record* TURL_database::Admit(const std::string& url, std::uint64_t hash)
{
    if (Refused(url))
        return nullptr;
    // Keep the index at most half full, so probes stay short.
    if (2 * (records.size() + 1) > index.size())
        Grow();
    Record record;
    record.url = Keep(url);
    record.hash = hash;
    record.number = static_cast<std::uint32_t>(records.size());
    records.push_back(record);
    size_t mask = index.size() - 1;
    size_t i = hash & mask;
    while (index[i] != 0)
        i = (i + 1) & mask;
    index[i] = static_cast<std::uint32_t>(records.size());
    return &records.back();
}

void TURL_database::Note(std::vector<std::string>& added, const char* list, std::string_view url, int level)
{
    if (Settings().bdebugVersion)
        added.push_back(std::string(list) + "\r" + std::string(url) + "\r" + std::to_string(level));
}

void TURL_database::ShowAdded(const std::vector<std::string>& added)
{
    if (added.empty())
        return;
    Synchronize([&] {
        for (const std::string& text : added)
            Ui().Message(text);
    });
}

void TURL_database::AddToVect(Record& record, int level, std::vector<std::string>& added)
{
    if (!record.inVect)
        ++vectCount;
    record.inVect = true;
    record.vectLevel = level;
    record.vectTicket = nextTicket++;
    queue.push_back({record.number, record.vectTicket});
    Note(added, "vect", record.url, level);
}

void TURL_database::AddToBank(Record& record, int level, std::vector<std::string>& added)
{
    if (!record.inBank)
        ++bankCount;
    record.inBank = true;
    record.bankLevel = level;
    Note(added, "bank", record.url, level);
}

std::string TURL_database::TakeFirst()
{
    std::lock_guard guard(lock);
    while (!queue.empty()) {
        Slot slot = queue.front();
        queue.pop_front();
        Record& record = records[slot.record];
        if (!record.inVect || record.vectTicket != slot.ticket)
            continue;
        record.inVect = false;
        --vectCount;
        std::string entry(record.url);
        entry += '=';
        entry += std::to_string(record.vectLevel);
        return entry;
    }
    return {};
}

int TURL_database::AddKnown(const std::string& url, int level)
{
    std::vector<std::string> added;
    {
        std::lock_guard guard(lock);
        std::uint64_t hash = HashOf(url);
        Record* record = Find(url, hash);
        if (record && record->inBank && record->bankLevel >= level)
            return 0;
        if (!record)
            record = Admit(url, hash);
        if (record)
            AddToBank(*record, level, added);
    }
    ShowAdded(added);
    return 0;
}

int TURL_database::AddPending(const std::string& url, int level)
{
    std::vector<std::string> added;
    bool first = false;
    {
        std::lock_guard guard(lock);
        std::uint64_t hash = HashOf(url);
        Record* record = Find(url, hash);
        if (record && (record->inVect ? record->vectLevel >= level : record->inBank && record->bankLevel >= level))
            return 0;
        if (!record)
            record = Admit(url, hash);
        if (!record)
            return 0;
        first = vectCount == 0;
        AddToVect(*record, level, added);
        AddToBank(*record, level, added);
    }
    // A site run waits for a pending URL while the list is empty; a URL added to a list
    // that has some wakes nobody.
    if (first)
        WakeWaiters();
    ShowAdded(added);
    return 0;
}

void TURL_database::ClearAll()
{
    std::lock_guard guard(lock);
    queue.clear();
    records.clear();
    index.clear();
    texts.clear();
    blockUsed = blockSize = 0;
    vectCount = 0;
    bankCount = 0;
}
