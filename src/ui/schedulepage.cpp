#include "ui/schedulepage.h"

#include <exception>

#include <QMenu>

#include "core/datetime.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/userinterface.h"
#include "data/table.h"
#include "grab/currentsite.h"
#include "schedule/nexttime.h"
#include "ui/fmwww.h"
#include "ui/radiogroup.h"
#include "ui/statuscelldelegate.h"

namespace {

TListPageSetup ScheduleSetup()
{
    TListPageSetup setup;
    setup.pageName = "panSchedule";
    setup.gridName = "dbgrid2";
    setup.scrollBarName = "ScrollBar2";
    setup.tabSetName = "TabSet2";
    setup.columns = {
        {"StatusCode", "已下載", 52, Qt::AlignCenter, true},
        {"Alias", "", 249},
        {"desireDateTime", "預定下載時間", 142},
        {"overDateTime", "已完成下載時間", 142},
        {"NextDesireDateTime", "預定下次下載時間", 142},
        {"URL", "網頁位址", 415},
    };
    setup.gridScrollBars = TScrollStyle::ssHorizontal;
    setup.nameColumn = 1;
    setup.addressColumn = 5;
    setup.largeChange = 14;
    setup.topAfterTabChange = true;
    return setup;
}

const int kQuickMode = 0;
const int kFullMode = 1;

}  // namespace

TSchedulePage::TSchedulePage(TTable& station, std::function<TfmWWW&()> scheduleDialog,
                             const TStatusPictures& pictures, QWidget* parent)
    : TListPage(station, ScheduleSetup(), parent), scheduleDialog(std::move(scheduleDialog))
{
    auto pick = [&pictures](const QString& text) { return pictures.ForStatusCode(text.toInt()); };
    Grid()->setItemDelegateForColumn(0, new TStatusCellDelegate(pick, pictures.LargestOfAll(), Grid()));
    MakePopup();
}

void TSchedulePage::MakePopup()
{
    popSchedule = new QMenu(this);
    popSchedule->setObjectName("popSchedule");
    popAdd = popSchedule->addAction("增加預約排程", [this] { AddSchedule(); });
    popChange = popSchedule->addAction("修改預約排程", [this] { ChangeSchedule(); });
    popDelete = popSchedule->addAction("刪除預約排程", [this] { DeleteSchedule(); });
    popSchedule->addSeparator();
    popDownload = popSchedule->addAction("立即下載", [this] { DownloadNow(); });
    connect(popSchedule, &QMenu::aboutToShow, this, [this] { popScheduleShow(); });
    UsePopup(popSchedule);
}

bool TSchedulePage::HasEntries() const
{
    return Table().Active() && Table().RecordCount() > 0;
}

void TSchedulePage::popScheduleShow()
{
    bool entries = HasEntries();
    popChange->setEnabled(entries);
    popDelete->setEnabled(entries);
    popDownload->setEnabled(entries);
}

std::string TSchedulePage::CurrentURL() const
{
    return Table().FieldByName("url").AsString();
}

void TSchedulePage::AddSchedule()
{
    TfmWWW& dialog = scheduleDialog();
    dialog.Prepare();
    TTable& station = Table();
    station.Append();
    station.FieldByName("kind_serial").SetAsInteger(NewRowCategory());
    station.FieldByName("Cross").SetAsBoolean(Settings().bdefaultCross);
    station.FieldByName("StatusCode").SetAsInteger(0);
    dialog.EdtLayout->setText(QString::number(Settings().idefaultDepth));
    if (dialog.exec() != QDialog::Accepted) {
        station.Cancel();
        return;
    }
    try {
        station.Post();
    } catch (const std::exception& error) {
        Ui().Message(std::string("錯誤代碼:main 527") + error.what());
        station.Cancel();
    }
}

void TSchedulePage::ChangeSchedule()
{
    TfmWWW& dialog = scheduleDialog();
    if (IsCurrentSite(CurrentURL())) {
        Ui().Warning("正在下載當中,此時不可修改");
        return;
    }
    TTable& station = Table();
    try {
        station.Edit();
        dialog.Prepare();
        FillDialog(dialog);
        if (dialog.exec() == QDialog::Accepted) {
            station.Post();
            station.Close();
            station.Open();
        } else {
            station.Cancel();
        }
    } catch (const std::exception&) {
        // A failed post has been reported by the data module, a locked row by its
        // question; the entry stays as it was.
        station.Cancel();
    }
}

// The repetition, time, depth and mode of the entry; the bound controls show the rest.
void TSchedulePage::FillDialog(TfmWWW& dialog)
{
    TTable& station = Table();
    dialog.RdGMode->SetItemIndex(station.FieldByName("quickmode").AsBoolean() ? kQuickMode : kFullMode);
    dialog.EdtLayout->setText(QString::fromStdString(station.FieldByName("Depth").AsString()));
    CivilTime desired = DecodeDateTime(station.FieldByName("DesireDateTime").AsDateTime());
    dialog.edtTime->setText(QString::number(desired.hour));
    dialog.edtTime1->setText(QString::number(desired.minute));
    std::string frequency = station.FieldByName("Frequency").AsString();
    int dayType = station.FieldByName("DayType").AsInteger();
    // A click, as the user's own, also enables the option's fields.
    if (SameText(frequency, kFrequencyWeekly)) {
        dialog.RdBWeekly->click();
        dialog.CmBWeekly->setCurrentIndex(dayType - 1);
    } else if (SameText(frequency, kFrequencyMonthly)) {
        dialog.RdBMonthly->click();
        dialog.edtMonthly->setText(QString::number(dayType));
    } else if (SameText(frequency, kFrequencyYearly)) {
        dialog.RdBOther->click();
        dialog.edtOther->setText(QString::number(dayType / 100));
        dialog.edtOther1->setText(QString::number(dayType % 100));
    }
}

void TSchedulePage::DeleteSchedule()
{
    std::string url = CurrentURL();
    if (IsCurrentSite(url)) {
        Ui().Warning("正在下載當中,此時不可刪除");
        return;
    }
    if (!Ui().Ask("你確定要移除這個預約排程嗎?\r" + url))
        return;
    Table().Delete();
}

void TSchedulePage::DownloadNow()
{
    if (IsCurrentSite(CurrentURL())) {
        Ui().Warning("已經正在下載當中");
        return;
    }
    TTable& station = Table();
    try {
        station.Edit();
        station.FieldByName("desireDateTime").SetAsDateTime(Now());
        NextTimeStep();
    } catch (const std::exception&) {
        // As for a change: reported where it failed, and the entry stays as it was.
        station.Cancel();
    }
}

void TSchedulePage::NextTimeStep()
{
    TTable& station = Table();
    try {
        std::string frequency = station.FieldByName("frequency").AsString();
        int dayType = station.FieldByName("dayType").AsInteger();
        TField& desired = station.FieldByName("desireDateTime");
        CivilTime at = DecodeDateTime(desired.AsDateTime());
        TDateTime next = NextTime(desired.AsString(), frequency, dayType, at.hour, at.minute);
        station.Edit();
        station.FieldByName("NextDesireDateTime").SetAsDateTime(next);
        TField& url = station.FieldByName("url");
        url.SetAsString(url.AsString());
        try {
            station.Post();
        } catch (const std::exception& error) {
            Ui().Message(std::string("錯誤代碼:main 501") + error.what());
            station.Cancel();
        }
    } catch (...) {
        station.Refresh();
        throw;
    }
    station.Refresh();
}
