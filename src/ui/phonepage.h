#pragma once

#include <functional>

#include "ui/listpage.h"
#include "ui/phonebookcommands.h"
#include "ui/statuspictures.h"

class QAction;
class QMenu;
class TDBMemo;
class TDMMain;
class TfmFavor;
class TfmWWW;

// The phone book page: the stations of favor.db in the list mechanics of every page, the
// scheduled column drawn as a tick, the current station's description under the tabs
// (edited in place), and the phone book's commands on its popup menu. A press on a row
// moves the record scroll bar with the record, as on every list.
class TPhonePage : public TListPage {
public:
    // data and pictures must outlive the page; scheduleDialog gives the schedule dialog,
    // made on first use.
    TPhonePage(TDMMain& data, std::function<TfmWWW&()> scheduleDialog, const TStatusPictures& pictures,
               QWidget* parent);

    TPhoneBookCommands& Commands() { return commands; }
    // "增加站台" / "添加站台": a new station in the selected category, 1 while all are shown.
    void AddStation();

    // The items that act on the current station: put on and take off the schedule as its
    // tick says, edit and delete; all of them disabled while the book is empty or when
    // allowed is false.
    void EnableStationItems(QAction* putOn, QAction* takeOff, QAction* edit, QAction* remove, bool allowed);

    TDBMemo* DBMemo1;
    QMenu* popTel;
    QAction* popPutOnSchedule;
    QAction* popTakeOffSchedule;
    QAction* popAddStation;
    QAction* popEditStation;
    QAction* popDeleteStation;
    QAction* popAddFavourite;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void MakePopup();
    TfmFavor& fmFavor();

    TDMMain& data;
    TPhoneBookCommands commands;
    TfmFavor* stationDialog = nullptr;
};
