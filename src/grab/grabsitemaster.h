#pragma once

#include "grab/grabsite.h"

// The master grabs the site's home page; it frees itself when done.
class TGrabSiteMaster : public TGrabSite {
public:
    // Registers url as known at level on the main thread, from the creating thread.
    TGrabSiteMaster(const std::string& url, int level, bool crossSite, bool textOnly, TGrabScheduler& scheduler);

protected:
    void Run() override;
    void ShowStatus() override;
    void SetStatus(const std::string& text) override;
};
