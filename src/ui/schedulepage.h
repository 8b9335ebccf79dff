#pragma once

#include <functional>

#include "ui/listpage.h"
#include "ui/statuspictures.h"

class QAction;
class QMenu;
class TfmWWW;

// The schedule page: the schedule entries of station.db in the list mechanics of every
// page, the downloaded column drawn as a mark, and the commands on the current entry:
// add, change, delete, download now. An entry whose site is being grabbed is neither
// changed, deleted nor started again.
class TSchedulePage : public TListPage {
public:
    // station: the data module's station table; scheduleDialog gives the schedule dialog,
    // made on first use; pictures must outlive the page.
    TSchedulePage(TTable& station, std::function<TfmWWW&()> scheduleDialog, const TStatusPictures& pictures,
                  QWidget* parent);

    // "增加預約排程"
    void AddSchedule();
    // "異動預約排程" / "修改預約排程"
    void ChangeSchedule();
    // "刪除預約排程"
    void DeleteSchedule();
    // "立即下載本站" / "立即下載"
    void DownloadNow();
    // Moves the current entry's next due moment on from its due moment.
    void NextTimeStep();

    bool HasEntries() const;

    QMenu* popSchedule;
    QAction* popAdd;
    QAction* popChange;
    QAction* popDelete;
    QAction* popDownload;

private:
    void MakePopup();
    void popScheduleShow();
    void FillDialog(TfmWWW& dialog);
    std::string CurrentURL() const;

    std::function<TfmWWW&()> scheduleDialog;
};
