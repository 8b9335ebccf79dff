#pragma once

#include <mutex>
#include <vector>

// The handles of the connections a server has accepted and not yet closed, in order of
// acceptance. The accept handler and the workers that answer requests change it from
// different threads, so every operation takes the list's lock. A handle leaves the list
// before it is closed, and only the caller whose Remove took it out closes it.
class TClientList {
public:
    bool Add(int Socket);     // false when no memory is left
    bool Remove(int Socket);  // true when Socket was in the list and is now out
    int Count() const;
    int Item(int Index) const;  // -1 outside the list
    bool Contains(int Socket) const;
    void Clear();
    // Empties the list and gives what it held, in one step.
    std::vector<int> TakeAll();

private:
    mutable std::mutex lock;
    std::vector<int> handles;
};
