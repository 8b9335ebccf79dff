#include "net/httptimeouts.h"

#include <mutex>

namespace {

std::mutex lock;
THttpTimeouts current;

}  // namespace

THttpTimeouts HttpTimeouts()
{
    std::lock_guard guard(lock);
    return current;
}

void SetHttpTimeoutsForTest(const THttpTimeouts& timeouts)
{
    std::lock_guard guard(lock);
    current = timeouts;
}
