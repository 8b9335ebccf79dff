#include "grab/grabsiteslave.h"

#include "core/mainthread.h"
#include "core/text.h"
#include "core/urldatabase.h"
#include "grab/graberrors.h"
#include "grab/grabstate.h"

TGrabSiteSlave::TGrabSiteSlave(int slaveNo, bool crossSite, bool textOnly, TGrabScheduler& scheduler)
    : TGrabSite(slaveNo, crossSite, textOnly, scheduler)
{
}

TGrabSiteSlave::~TGrabSiteSlave()
{
    Terminate();
    WaitFor();
}

void TGrabSiteSlave::ShowStatus()
{
    // A slave's status is kept, not shown.
}

void TGrabSiteSlave::SetStatus(const std::string& text)
{
    StoreStatusText(std::to_string(SlaveNo()) + text);
}

// The crawl lists have a lock of their own: taking the next URL needs no hand-over. The
// status line the page held goes without waiting, unless no URL is left: then it is waited
// for, so that what fails in showing it is that page's failure. A status line sent earlier
// that could not be shown fails the page that ends now.
std::string TGrabSiteSlave::TakePending()
{
    RethrowStatusFailure();
    std::string entry = UrlDatabase().TakeFirst();
    if (entry.empty())
        HandOver([] {});
    else
        PostHeldStatus();
    return entry;
}

void TGrabSiteSlave::Run()
{
    // However the loop ends, an error that nothing caught included, the slave is done:
    // RunSite waits for it otherwise.
    struct Done {
        std::atomic<bool>& alive;
        ~Done() { alive = false; }
    } done{alive};
    RunPages();
}

// Grabs a URL this slave has claimed, and releases it however the grab ends; next is the
// entry to grab after it, taken as the page ends, so that a failure of the status line it
// shows is the page's own. Gives false when the slave is to end.
bool TGrabSiteSlave::GrabClaimed(const std::string& entry, const std::string& url, std::string& next)
{
    struct Claimed {
        const std::string& url;
        ~Claimed() { InFetch().Release(url); }
    } claimed{url};
    try {
        size_t equals = entry.rfind('=');
        Level = StrToInt(equals == std::string::npos ? std::string() : entry.substr(equals + 1));
    } catch (const EConvertError& error) {
        ShowError("錯誤代碼:1164" + std::string(error.what()) + entry);
        Level = 0;
    }
    bool taken = false;
    try {
        GrabPage(url);
        next = TakePending();
        taken = true;
    } catch (const EGrabToLong&) {
        GrabState().StopFlag = true;
        return false;
    } catch (const EQuotaError&) {
        GrabState().StopFlag = true;
        scheduler.RequestEnd();
        return false;
    } catch (const ENoModified&) {
    } catch (const EGrabError&) {
        // A refused header, a page on another server, a file too large, a silent
        // server: this slave ends and RunSite starts another for the next URL.
        return false;
    } catch (const std::exception& error) {
        ShowError("錯誤代碼:1192" + std::string(error.what()) + "\r" + "surlwanted:" + url + "\r" + "sFullPath:"
                  + pageFile + "\r" + "sresponseCode:" + statusCode.substr(0, 3));
    }
    if (!taken)
        next = TakePending();
    return true;
}

void TGrabSiteSlave::RunPages()
{
    std::string entry = TakePending();
    if (Trim(entry).empty()) {
        SetStatus("沒有網頁可抓");
        return;
    }
    while (!entry.empty() && !Terminated() && !GrabState().StopFlag) {
        // The level follows the last "=", since a URL may hold "=" itself.
        std::string url = entry.substr(0, entry.rfind('='));
        SetURL(url);
        // The site's own start URL is the master's; a slave drops it instead of waiting.
        if (!InFetch().Claim(url)) {
            entry = TakePending();
            continue;
        }
        std::string next;
        if (!GrabClaimed(entry, url, next))
            return;
        entry = next;
    }
}
