#include "ui/readinglistcommands.h"

#include <exception>

#include "core/busyscope.h"
#include "core/userinterface.h"
#include "data/dmmain.h"
#include "data/unfilteredscope.h"
#include "grab/currentsite.h"
#include "grab/siteremoval.h"

namespace {

const int kStatusDeleted = 3;

}  // namespace

TReadingListCommands::TReadingListCommands(TDMMain& data) : data(data)
{
}

bool TReadingListCommands::HasSites() const
{
    TTable& see = data.seeTab();
    return see.Active() && see.RecordCount() > 0;
}

void TReadingListCommands::DeleteGrabbedSite()
{
    if (!HasSites())
        return;
    std::string url = data.seeTab().FieldByName("url").AsString();
    if (IsCurrentSite(url)) {
        Ui().Warning("正在下載當中,此時不可刪除");
        return;
    }
    TSiteRemoval removal(url);
    if (!Ui().Ask("確定要刪除掉這個網頁的所有資料"))
        return;
    TBusyScope busy("正在刪掉網頁資料  請稍待");
    removal.Run();
    MarkScheduleEntry(url);
    DeleteRow();
    Ui().Status(RemovalStatus(removal));
}

// The entry of any category with exactly this address; a failure here leaves the entry
// unmarked and the deletion goes on, as the reading-list row must still go.
void TReadingListCommands::MarkScheduleEntry(const std::string& url)
{
    TTable& station = data.tabStation();
    try {
        TUnfilteredScope all(station);
        if (!station.Locate("url", {url}))
            return;
        try {
            station.Edit();
            station.FieldByName("statusCode").SetAsInteger(kStatusDeleted);
            station.Post();
        } catch (const std::exception&) {
            // Cancelled before the filter goes back on, which would post it again.
            station.Cancel();
        }
    } catch (const std::exception&) {
        // The data module has reported what it could; the mark is only a display.
    }
}

void TReadingListCommands::DeleteRow()
{
    TTable& see = data.seeTab();
    try {
        see.Delete();
    } catch (const std::exception&) {
        // The data module has reported the failed delete; the row stays.
        see.Cancel();
    }
}

std::string RemovalStatus(const TSiteRemoval& removal)
{
    using TOutcome = TSiteRemoval::TOutcome;
    switch (removal.Outcome()) {
    case TOutcome::NoStorePath:
        return "這個網址沒有存放在本機的網頁資料,沒有刪除任何檔案";
    case TOutcome::NotCached:
        return "找不到這個站台的網頁資料夾,沒有刪除任何檔案";
    case TOutcome::Refused:
        return "網頁資料夾的路徑中有連結或檔案,為了安全沒有刪除任何檔案";
    case TOutcome::Gone:
        return "網頁資料已不存在";
    case TOutcome::Removed:
        if (removal.Failures() > 0)
            return "網頁資料已刪除,但有 " + std::to_string(removal.Failures()) + " 個檔案或資料夾無法刪除";
        return "網頁資料已刪除";
    case TOutcome::Pending:
        break;
    }
    return {};
}
