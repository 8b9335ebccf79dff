#pragma once

#include <chrono>
#include <functional>

// Waits for something outside this process (another program, a file it writes), looking
// every 20 ms and serving no events meanwhile, so that windows of the test stay as they
// are. Gives false when the limit passes first.
bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(30));
