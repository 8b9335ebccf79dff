#include "data/recordlocks.h"

TRecordLocks& RecordLocks()
{
    static TRecordLocks locks;
    return locks;
}

bool TRecordLocks::TryLock(const TRecordKey& key, const TSession* owner)
{
    std::lock_guard guard(lock);
    Holder& holder = held[Key(key.file, key.rowid)];
    if (holder.count > 0 && holder.owner != owner)
        return false;
    holder.owner = owner;
    ++holder.count;
    return true;
}

void TRecordLocks::Unlock(const TRecordKey& key, const TSession* owner)
{
    std::lock_guard guard(lock);
    auto found = held.find(Key(key.file, key.rowid));
    if (found == held.end() || found->second.owner != owner)
        return;
    if (--found->second.count <= 0)
        held.erase(found);
}

bool TRecordLocks::HeldByOther(const TRecordKey& key, const TSession* owner) const
{
    std::lock_guard guard(lock);
    auto found = held.find(Key(key.file, key.rowid));
    return found != held.end() && found->second.owner != owner;
}
