#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "grab/grabscheduler.h"
#include "net/dns.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"

// A scheduler for the site runs of the tests: records its status lines.
class FakeScheduler : public TGrabScheduler {
public:
    bool EndRequested() const override { return ended; }
    void RequestEnd() override { ended = true; }
    void Status(const std::string& text) override;
    std::vector<std::string> Statuses() const;

    std::atomic<bool> ended{false};

private:
    mutable std::mutex lock;
    std::vector<std::string> statuses;
};

// A program folder with its host cache, log and a scripted user interface, for grabs.
class GrabFixture {
public:
    GrabFixture();
    ~GrabFixture();

    // Runs a site on a thread of its own while this (the main) thread serves the events.
    int Grab(const std::string& url, int level, bool cross = false, bool quick = false);

    std::string Stored(const std::string& address, const std::string& localPath) const;
    bool IsStored(const std::string& address, const std::string& localPath) const;
    std::vector<std::string> LogLines() const;
    // Every file below the store, as paths relative to it; ".TMP" files show up here.
    std::vector<std::string> StoreFiles() const;

    // How far before the run's start SiteStart lies, in days (a site grabbed for long).
    double siteStartBack = 0;
    // How long Grab waits for the run before it counts as stuck and stops it.
    std::chrono::seconds runLimit{120};
    // Added to the system clock while set: a clock that jumps forward.
    static std::atomic<double> clockOffset;

    TempFolder folder;
    ScriptedUi ui;
    FakeScheduler scheduler;
    std::unique_ptr<TDNS> cache;
};

// An HTTP/1.0 reply with the given header lines (each without its CR LF) and body.
std::string Reply(const std::string& status, const std::vector<std::string>& headers, const std::string& body = "");
