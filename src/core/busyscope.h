#pragma once

#include <string>

// Shows the busy window with a text for as long as it lives, so that the window, its hold
// on the mouse and the wait pointer go away on every way out of the operation, an error
// included.
class TBusyScope {
public:
    explicit TBusyScope(const std::string& text);
    ~TBusyScope();
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;
};
