#pragma once

#include <chrono>

// How long the blocking HTTP client waits: for a connection to be made, and for the
// next bytes of an answer. Tests shorten them; the program keeps the defaults.
struct THttpTimeouts {
    std::chrono::milliseconds Connect{30000};
    std::chrono::milliseconds NoData{60000};
};

THttpTimeouts HttpTimeouts();
// For tests only; THttpTimeouts{} puts the defaults back.
void SetHttpTimeoutsForTest(const THttpTimeouts& timeouts);
