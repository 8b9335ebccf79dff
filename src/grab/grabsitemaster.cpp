#include "grab/grabsitemaster.h"

#include "core/mainthread.h"
#include "core/text.h"
#include "core/urldatabase.h"
#include "core/userinterface.h"
#include "grab/graberrors.h"
#include "grab/grabstate.h"

TGrabSiteMaster::TGrabSiteMaster(const std::string& url, int level, bool crossSite, bool textOnly,
                                 TGrabScheduler& scheduler)
    : TGrabSite(0, crossSite, textOnly, scheduler)
{
    SetURL(url);
    Level = level;
    UrlDatabase().AddKnown(url, level);
}

void TGrabSiteMaster::ShowStatus()
{
    Ui().Status(StatusText());
}

void TGrabSiteMaster::SetStatus(const std::string& text)
{
    StoreStatusText(text);
    Synchronize([this] { ShowStatus(); });
}

void TGrabSiteMaster::Run()
{
    std::string url = CurrentURL();
    if (Trim(url).empty()) {
        SetStatus("沒有網頁可抓");
        return;
    }
    try {
        GrabPage(url);
        GrabState().HomePageWhole = PageWhole();
    } catch (const EQuotaError&) {
        GrabState().StopFlag = true;
        scheduler.RequestEnd();
    } catch (const EServerNoResponse&) {
        StatusLine("無法連結主機:" + Turl(url).HostName());
        GrabState().StopFlag = true;
    } catch (const EFileToLarge&) {
    } catch (const ENoModified&) {
    } catch (const EGrabError&) {
        // A refused header, a slow server or the site time: the site stops.
        GrabState().StopFlag = true;
    } catch (const std::exception& error) {
        ShowError("錯誤代碼:1141" + std::string(error.what()) + "\r" + "surlwanted:" + url + "\r" + "sFullPath:"
                  + pageFile + "\r");
    }
}
