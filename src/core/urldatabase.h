#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>

// The crawl's URL lists: vect, the URLs still to fetch, in the order they were queued,
// and bank, every URL seen in the current grab with the highest level seen for it.
// One hash table holds each URL once with its place in both lists, so every operation
// costs O(1) on average. The lists are changed on the main thread only; the counts may
// be read from any thread.
class TURL_database {
public:
    // The first pending URL as "url=level", removed from vect; empty when vect is empty.
    std::string TakeFirst();
    // Adds url to bank unless it is there with the same or a higher level. Gives 0.
    int AddKnown(const std::string& url, int level);
    // Queues url unless vect, or else bank, already holds it with the same or a higher
    // level; a queued URL goes to the end of vect and into bank. Gives 0.
    int AddPending(const std::string& url, int level);
    void ClearAll();
    size_t KnownCount() const { return bankCount; }
    size_t PendingCount() const { return vectCount; }

private:
    struct Place {
        bool inVect = false;
        bool inBank = false;
        int vectLevel = 0;
        int bankLevel = 0;
        std::uint64_t vectTicket = 0;  // which queue slot is this URL's live one
    };
    using Table = std::unordered_map<std::string, Place>;
    struct Slot {
        Table::value_type* entry;  // table nodes never move
        std::uint64_t ticket;
    };

    Table::value_type* Admit(const std::string& url);
    void AddToVect(Table::value_type& entry, int level);
    void AddToBank(Table::value_type& entry, int level);
    void ShowAdded(const char* list, const std::string& url, int level) const;

    Table table;
    // vect in order; a URL queued again leaves its older slot behind, skipped when reached.
    std::deque<Slot> queue;
    std::uint64_t nextTicket = 1;
    std::atomic<size_t> vectCount{0};
    std::atomic<size_t> bankCount{0};
};

// The process's crawl lists.
TURL_database& UrlDatabase();
