#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>

class TSession;

// A row of a table file: the file's full path and the row's id in it.
struct TRecordKey {
    std::string file;
    long long rowid = 0;
};

// The write locks on rows between sessions. A row in Edit state holds its lock until it is
// posted or cancelled. Objects of one session may lock the same row more than once; it is
// free again when each has let go. Safe from any thread.
class TRecordLocks {
public:
    // True when the row was free or already held by owner; owner holds it once more then.
    bool TryLock(const TRecordKey& key, const TSession* owner);
    void Unlock(const TRecordKey& key, const TSession* owner);
    bool HeldByOther(const TRecordKey& key, const TSession* owner) const;

private:
    struct Holder {
        const TSession* owner = nullptr;
        int count = 0;
    };
    using Key = std::pair<std::string, long long>;

    mutable std::mutex lock;
    std::map<Key, Holder> held;
};

// The process's lock table.
TRecordLocks& RecordLocks();
