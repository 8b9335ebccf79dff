#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "core/datetime.h"

// The grabber's process-wide state: one process grabs one site at a time. The flags are
// single values written by their one owner and read by every grab thread.
struct TGrabState {
    std::atomic<bool> StopFlag{false};
    std::atomic<bool> MasterDone{false};
    // The master stored the home page whole (or found it unchanged): a site that then
    // queued nothing is done, not interrupted.
    std::atomic<bool> HomePageWhole{false};
    std::atomic<TDateTime> SiteStart{0};
    // What the grab of this process has stored, for summaries.
    std::atomic<long long> PagesStored{0};
    std::atomic<long long> BytesStored{0};

    // Texts written by one thread while others read them; guarded for that reason only.
    std::string CurrentSiteURL() const;
    void SetCurrentSiteURL(const std::string& url);
    std::string SiteAddress() const;
    void SetSiteAddress(const std::string& address);
    std::string CurrentAlias() const;  // the schedule entry's alias, for status lines
    void SetCurrentAlias(const std::string& alias);
    std::string CurrentPage() const;  // the page a grab thread began last, for progress
    void SetCurrentPage(const std::string& url);

private:
    mutable std::mutex textLock;
    std::string currentSiteURL;
    std::string siteAddress;
    std::string currentAlias;
    std::string currentPage;
};

TGrabState& GrabState();

// The URLs that slaves have claimed and not yet released; a URL may stand in it more
// than once. Claim refuses the site's own start URL.
class TInFetch {
public:
    bool Claim(const std::string& url);
    void Release(const std::string& url);
    size_t Count() const;

private:
    mutable std::mutex lock;
    std::vector<std::string> urls;
};

TInFetch& InFetch();
