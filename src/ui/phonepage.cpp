#include "ui/phonepage.h"

#include <QMenu>

#include "data/dmmain.h"
#include "ui/dbmemo.h"
#include "ui/fmfavor.h"
#include "ui/statuscelldelegate.h"

namespace {

// The memo shows three lines of a station's DESCRIPTION.
const int kMemoHeight = 66;

TListPageSetup PhoneBookSetup()
{
    TListPageSetup setup;
    setup.pageName = "panTel";
    setup.gridName = "dbgrid3";
    setup.scrollBarName = "ScrollBar3";
    setup.tabSetName = "TabSet3";
    setup.columns = {{"bCalSchedule", "已排程", 55, Qt::AlignCenter}, {"ALIAS", "站台簡稱", 249}, {"URL", "網頁位址", 415}};
    setup.topAfterTabChange = true;
    setup.footerHeight = kMemoHeight;
    return setup;
}

}  // namespace

TPhonePage::TPhonePage(TDMMain& data, std::function<TfmWWW&()> scheduleDialog, const TStatusPictures& pictures,
                       QWidget* parent)
    : TListPage(data.telStation(), PhoneBookSetup(), parent),
      DBMemo1(new TDBMemo(data.telStation(), "DESCRIPTION", this)),
      data(data),
      commands(data, std::move(scheduleDialog), [this]() -> TfmFavor& { return fmFavor(); })
{
    auto scheduled = [&pictures](const QString& text) { return text == "True" ? &pictures.tick : nullptr; };
    Grid()->setItemDelegateForColumn(0, new TStatusCellDelegate(scheduled, pictures.LargestOfTwo(), Grid()));
    DBMemo1->setObjectName("DBMemo1");
    DBMemo1->SetAutoEdit(true);
    MakePopup();
}

void TPhonePage::MakePopup()
{
    popTel = new QMenu(this);
    popTel->setObjectName("popTel");
    popPutOnSchedule = popTel->addAction("列入預約排程", [this] { commands.PutOnSchedule(); });
    popTakeOffSchedule = popTel->addAction("取消預約排程", [this] { commands.TakeOffSchedule(); });
    popTel->addSeparator();
    popAddStation = popTel->addAction("添加站台", [this] { AddStation(); });
    popEditStation = popTel->addAction("修改站台", [this] { commands.EditStation(); });
    popDeleteStation = popTel->addAction("刪除站台", [this] { commands.DeleteStation(); });
    popTel->addSeparator();
    popAddFavourite = popTel->addAction("加入我的最愛", [this] { commands.AddToFavourites(); });
    // The popup does not ask which list is current: it opens on this page only.
    connect(popTel, &QMenu::aboutToShow, this, [this] {
        EnableStationItems(popPutOnSchedule, popTakeOffSchedule, popEditStation, popDeleteStation, true);
    });
    UsePopup(popTel);
}

void TPhonePage::EnableStationItems(QAction* putOn, QAction* takeOff, QAction* edit, QAction* remove, bool allowed)
{
    bool stations = allowed && commands.HasStations();
    bool scheduled = stations && commands.CurrentScheduled();
    putOn->setEnabled(stations && !scheduled);
    takeOff->setEnabled(scheduled);
    edit->setEnabled(stations);
    remove->setEnabled(stations);
}

void TPhonePage::AddStation()
{
    commands.AddStation(NewRowCategory());
}

TfmFavor& TPhonePage::fmFavor()
{
    if (!stationDialog)
        stationDialog = new TfmFavor(data.telStation(), data.kindTab(), window());
    return *stationDialog;
}

void TPhonePage::resizeEvent(QResizeEvent* event)
{
    TListPage::resizeEvent(event);
    DBMemo1->setGeometry(Footer());
}
