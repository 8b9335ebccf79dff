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

std::string TGrabSiteSlave::TakePending()
{
    std::string entry;
    Synchronize([&] { entry = UrlDatabase().TakeFirst(); });
    return entry;
}

void TGrabSiteSlave::Run()
{
    RunPages();
    alive = false;
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
        size_t equals = entry.rfind('=');
        std::string url = entry.substr(0, equals);
        SetURL(url);
        // The site's own start URL is the master's; a slave drops it instead of waiting.
        if (!InFetch().Claim(url)) {
            entry = TakePending();
            continue;
        }
        try {
            Level = StrToInt(equals == std::string::npos ? std::string() : entry.substr(equals + 1));
        } catch (const EConvertError& error) {
            ShowError("錯誤代碼:1164" + std::string(error.what()) + entry);
            Level = 0;
        }
        bool goOn = true;
        try {
            GrabPage(url);
        } catch (const EGrabToLong&) {
            GrabState().StopFlag = true;
            goOn = false;
        } catch (const EQuotaError&) {
            GrabState().StopFlag = true;
            scheduler.RequestEnd();
            goOn = false;
        } catch (const ENoModified&) {
        } catch (const EGrabError&) {
            // A refused header, a page on another server, a file too large, a silent
            // server: this slave ends and RunSite starts another for the next URL.
            goOn = false;
        } catch (const std::exception& error) {
            ShowError("錯誤代碼:1192" + std::string(error.what()) + "\r" + "surlwanted:" + url + "\r"
                      + "sFullPath:" + pageFile + "\r" + "sresponseCode:" + statusCode.substr(0, 3));
        }
        InFetch().Release(url);
        if (!goOn)
            return;
        entry = TakePending();
    }
}
