#pragma once

#include <atomic>
#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

// The crawl's URL lists: vect, the URLs still to fetch, and bank, every URL seen in the
// current grab with the highest level seen for it. Both keep insertion order; a hash
// index over each makes every operation cost O(1) on average. The lists are changed on
// the main thread only; the counts may be read from any thread.
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
    struct Entry {
        std::string url;
        int level;
    };
    class List {
    public:
        const Entry* Find(const std::string& url) const;
        void Append(const std::string& url, int level);  // replaces an entry of the same URL
        bool Empty() const { return entries.empty(); }
        Entry PopFront();
        void Clear();
        size_t Count() const { return entries.size(); }

    private:
        std::list<Entry> entries;
        // Keys view the URLs inside the list nodes, which never move.
        std::unordered_map<std::string_view, std::list<Entry>::iterator> index;
    };

    void AddStep(List& list, const char* name, const std::string& url, int level);
    void UpdateCounts();

    List vect;
    List bank;
    std::atomic<size_t> vectCount{0};
    std::atomic<size_t> bankCount{0};
};

// The process's crawl lists.
TURL_database& UrlDatabase();
