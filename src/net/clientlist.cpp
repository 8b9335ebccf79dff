#include "net/clientlist.h"

#include <algorithm>
#include <new>

bool TClientList::Add(int Socket)
{
    std::lock_guard guard(lock);
    try {
        handles.push_back(Socket);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool TClientList::Remove(int Socket)
{
    std::lock_guard guard(lock);
    auto found = std::find(handles.begin(), handles.end(), Socket);
    if (found == handles.end())
        return false;
    handles.erase(found);
    return true;
}

int TClientList::Count() const
{
    std::lock_guard guard(lock);
    return static_cast<int>(handles.size());
}

int TClientList::Item(int Index) const
{
    std::lock_guard guard(lock);
    return Index >= 0 && Index < static_cast<int>(handles.size()) ? handles[static_cast<size_t>(Index)] : -1;
}

bool TClientList::Contains(int Socket) const
{
    std::lock_guard guard(lock);
    return std::find(handles.begin(), handles.end(), Socket) != handles.end();
}

void TClientList::Clear()
{
    std::lock_guard guard(lock);
    handles.clear();
}

std::vector<int> TClientList::TakeAll()
{
    std::lock_guard guard(lock);
    std::vector<int> taken;
    taken.swap(handles);
    return taken;
}
