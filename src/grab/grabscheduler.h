#pragma once

#include <string>

// What the grab threads need of the thread that runs a site (the scheduler, or the
// command-line grab): whether it was told to end, a way to tell it to end (a full disk
// stops all further sites), and its status line.
class TGrabScheduler {
public:
    virtual ~TGrabScheduler() = default;
    virtual bool EndRequested() const = 0;
    virtual void RequestEnd() = 0;
    virtual void Status(const std::string& text) = 0;
};
