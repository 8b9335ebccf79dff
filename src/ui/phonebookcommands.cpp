#include "ui/phonebookcommands.h"

#include <exception>

#include <QDialog>

#include "core/userinterface.h"
#include "data/dmmain.h"
#include "data/unfilteredscope.h"
#include "grab/currentsite.h"
#include "ui/fmfavor.h"
#include "ui/newscheduleentry.h"

namespace {

const int kFavourites = 10;

}  // namespace

TPhoneBookCommands::TPhoneBookCommands(TDMMain& data, std::function<TfmWWW&()> scheduleDialog,
                                       std::function<TfmFavor&()> stationDialog)
    : data(data), scheduleDialog(std::move(scheduleDialog)), stationDialog(std::move(stationDialog))
{
}

bool TPhoneBookCommands::HasStations() const
{
    TTable& book = data.telStation();
    return book.Active() && book.RecordCount() > 0;
}

bool TPhoneBookCommands::CurrentScheduled() const
{
    return HasStations() && data.telStation().FieldByName("bCalSchedule").AsBoolean();
}

std::string TPhoneBookCommands::Current(const char* fieldName) const
{
    return data.telStation().FieldByName(fieldName).AsString();
}

void TPhoneBookCommands::PutOnSchedule()
{
    if (!HasStations())
        return;
    TTable& book = data.telStation();
    if (!EditNewScheduleEntry(data, scheduleDialog(), Current("url"), Current("alias"),
                              book.FieldByName("kind_serial").AsInteger()))
        return;
    TTable& station = data.tabStation();
    try {
        station.Post();
    } catch (const std::exception& error) {
        Ui().Error(std::string("錯誤代碼:main 775") + error.what());
        station.Cancel();
        return;
    }
    book.Refresh();
}

void TPhoneBookCommands::TakeOffSchedule()
{
    if (!HasStations())
        return;
    std::string url = Current("URL");
    if (IsCurrentSite(url)) {
        Ui().Warning("正在下載當中,此時不可以取消預約排程");
        return;
    }
    if (!Ui().Ask("你確定要取消這個預約排程?\r\r站台:" + Current("alias")))
        return;
    TTable& station = data.tabStation();
    TUnfilteredScope all(station);
    if (station.Locate("url", {url}, {.caseInsensitive = true})) {
        station.Delete();
        data.telStation().Refresh();
    }
}

void TPhoneBookCommands::AddStation(int category)
{
    TfmFavor& dialog = stationDialog();
    TTable& book = data.telStation();
    try {
        book.Append();
        book.FieldByName("kind_serial").SetAsInteger(category);
        if (dialog.exec() == TfmFavor::mrOk) {
            book.Post();
            book.Close();
            book.Open();
        } else {
            book.Cancel();
        }
    } catch (const std::exception&) {
        // A failed post has been reported by the data module; the new station is dropped.
        book.Cancel();
    }
}

void TPhoneBookCommands::EditStation()
{
    if (!HasStations())
        return;
    TfmFavor& dialog = stationDialog();
    if (IsCurrentSite(Current("URL"))) {
        Ui().Warning("正在下載當中,此時不可以修改預約排程");
        return;
    }
    TTable& book = data.telStation();
    try {
        book.Edit();
        if (dialog.exec() == TfmFavor::mrOk)
            book.Post();
        else
            book.Cancel();
    } catch (const std::exception&) {
        // A failed post has been reported by the data module, a locked row by its
        // question; the station stays as it was.
        book.Cancel();
    }
}

void TPhoneBookCommands::DeleteStation()
{
    if (!HasStations())
        return;
    if (IsCurrentSite(Current("URL"))) {
        Ui().Warning("正在下載當中,此時不可以刪除預約排程");
        return;
    }
    if (!Ui().Ask("你確定要刪除站台?\r\r站台:" + Current("alias")))
        return;
    TTable& book = data.telStation();
    try {
        book.Delete();
    } catch (const std::exception&) {
        // The data module has reported the failed delete; the station stays.
        book.Cancel();
    }
}

void TPhoneBookCommands::AddToFavourites()
{
    if (!HasStations())
        return;
    std::string url = Current("URL");
    std::string alias = Current("Alias");
    std::string description = Current("description");
    TTable& book = data.telStation();
    try {
        book.Append();
        book.FieldByName("URL").SetAsString(url);
        book.FieldByName("Alias").SetAsString(alias);
        book.FieldByName("description").SetAsString(description);
        book.FieldByName("kind_serial").SetAsInteger(kFavourites);
        book.Post();
    } catch (const std::exception&) {
        // A failed post has been reported by the data module; the copy is dropped.
        book.Cancel();
    }
}
