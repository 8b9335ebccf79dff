#include "core/urldatabase.h"

#include "core/settings.h"
#include "core/text.h"
#include "core/userinterface.h"

namespace {

bool RefusedScheme(const std::string& url)
{
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

const TURL_database::Entry* TURL_database::List::Find(const std::string& url) const
{
    auto found = index.find(url);
    return found == index.end() ? nullptr : &*found->second;
}

void TURL_database::List::Append(const std::string& url, int level)
{
    if (auto found = index.find(url); found != index.end()) {
        auto node = found->second;
        index.erase(found);
        entries.erase(node);
    }
    entries.push_back({url, level});
    auto node = std::prev(entries.end());
    index.emplace(node->url, node);
}

TURL_database::Entry TURL_database::List::PopFront()
{
    Entry first = std::move(entries.front());
    index.erase(std::string_view(entries.front().url.data(), entries.front().url.size()));
    entries.pop_front();
    return first;
}

void TURL_database::List::Clear()
{
    index.clear();
    entries.clear();
}

void TURL_database::UpdateCounts()
{
    vectCount = vect.Count();
    bankCount = bank.Count();
}

void TURL_database::AddStep(List& list, const char* name, const std::string& url, int level)
{
    if (url.empty() || RefusedScheme(url))
        return;
    list.Append(url, level);
    UpdateCounts();
    if (Settings().bdebugVersion)
        Ui().Message(std::string(name) + "\r" + url + "\r" + std::to_string(level));
}

std::string TURL_database::TakeFirst()
{
    if (vect.Empty())
        return {};
    Entry first = vect.PopFront();
    UpdateCounts();
    return first.url + "=" + std::to_string(first.level);
}

int TURL_database::AddKnown(const std::string& url, int level)
{
    const Entry* known = bank.Find(url);
    if (!known || known->level < level)
        AddStep(bank, "bank", url, level);
    return 0;
}

int TURL_database::AddPending(const std::string& url, int level)
{
    bool add;
    if (const Entry* pending = vect.Find(url))
        add = pending->level < level;
    else if (const Entry* known = bank.Find(url))
        add = known->level < level;
    else
        add = true;
    if (add) {
        AddStep(vect, "vect", url, level);
        AddStep(bank, "bank", url, level);
    }
    return 0;
}

void TURL_database::ClearAll()
{
    vect.Clear();
    bank.Clear();
    UpdateCounts();
}
