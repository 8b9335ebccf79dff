#pragma once

#include <string>

#include "grab/grabscheduler.h"

// Grabs one site: a master fetches and scans url, then up to five slaves take the pending
// URLs until none is left, a limit is hit or the site is stopped. Runs on the scheduler's
// thread, never the main thread, which must keep serving socket events meanwhile.
// Gives 0 when the slaves emptied the pending list without a stop, or the master stored
// the home page whole and queued nothing; 1 when the master queued nothing from a home
// page it could not store whole, or the slave phase was stopped; 2 when the site stopped
// before the slave phase or the scheduler was told to end. The caller sets GrabState's
// CurrentSiteURL, CurrentAlias and SiteStart first.
int RunSite(const std::string& url, int level, bool cross, bool quick, TGrabScheduler& scheduler);
