#pragma once

#include <atomic>

#include "grab/grabsite.h"

// A slave takes pending URLs one at a time until none is left, a stop, or an error that
// ends it; RunSite replaces a slave that ended while URLs are pending.
class TGrabSiteSlave : public TGrabSite {
public:
    TGrabSiteSlave(int slaveNo, bool crossSite, bool textOnly, TGrabScheduler& scheduler);
    // The thread still runs ShowStatus after Run; it must end before this object goes.
    ~TGrabSiteSlave() override;

    bool Alive() const { return alive; }

protected:
    void Run() override;
    void ShowStatus() override;
    void SetStatus(const std::string& text) override;

private:
    void RunPages();
    bool GrabClaimed(const std::string& entry, const std::string& url, std::string& next);
    std::string TakePending();

    std::atomic<bool> alive{true};
};
