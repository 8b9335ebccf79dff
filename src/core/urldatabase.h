#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// The crawl's URL lists: vect, the URLs still to fetch, in the order they were queued,
// and bank, every URL seen in the current grab with the highest level seen for it.
// Each URL is stored once, with its place in both lists, behind an open-addressing hash
// index, so every operation costs O(1) on average and a grab walks memory in order. The
// lists have a lock of their own: a grab thread takes its next URL and queues the links it
// found without waiting for the main thread. The counts may be read without the lock.
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
    struct Record {
        std::string_view url;  // kept in the text store below
        std::uint64_t hash;
        std::uint32_t number;  // place in records
        std::uint64_t vectTicket = 0;  // which queue slot is this URL's live one
        int vectLevel = 0;
        int bankLevel = 0;
        bool inVect = false;
        bool inBank = false;
    };
    struct Slot {
        std::uint32_t record;
        std::uint64_t ticket;
    };

    Record* Find(const std::string& url, std::uint64_t hash);
    Record* Admit(const std::string& url, std::uint64_t hash);
    std::string_view Keep(const std::string& url);
    void Grow();
    // Under the lock; each adds to added what the debug version is to show.
    void AddToVect(Record& record, int level, std::vector<std::string>& added);
    void AddToBank(Record& record, int level, std::vector<std::string>& added);
    static void Note(std::vector<std::string>& added, const char* list, std::string_view url, int level);
    // After the lock: the message boxes of the debug version, on the main thread.
    static void ShowAdded(const std::vector<std::string>& added);

    std::deque<Record> records;          // in order of first sight; never moved
    std::vector<std::uint32_t> index;    // record number + 1, 0 for a free slot
    std::vector<std::unique_ptr<char[]>> texts;  // the URLs, packed into blocks
    size_t blockUsed = 0;
    size_t blockSize = 0;
    // vect in order; a URL queued again leaves its older slot behind, skipped when reached.
    std::deque<Slot> queue;
    std::uint64_t nextTicket = 1;
    std::atomic<size_t> vectCount{0};
    std::atomic<size_t> bankCount{0};
    std::mutex lock;
};

// The process's crawl lists.
TURL_database& UrlDatabase();
