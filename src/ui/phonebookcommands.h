#pragma once

#include <functional>
#include <string>

class TDMMain;
class TfmFavor;
class TfmWWW;

// The phone book's commands on its current station (a row of the phone book table):
// put it on the schedule or take it off, add, edit and delete stations, and copy one into
// "我的最愛". A station whose site is being grabbed is neither taken off the schedule,
// edited nor deleted.
class TPhoneBookCommands {
public:
    // The dialogs are made on first use by their functions; data must outlive this object.
    TPhoneBookCommands(TDMMain& data, std::function<TfmWWW&()> scheduleDialog,
                       std::function<TfmFavor&()> stationDialog);

    // The phone book is open and holds at least one station.
    bool HasStations() const;
    // The current station's site is on the schedule (its tick).
    bool CurrentScheduled() const;

    // "列入預約排程": a new schedule entry for the current station.
    void PutOnSchedule();
    // "取消預約排程": removes the schedule entry of the current station's address.
    void TakeOffSchedule();
    // "增加站台" / "添加站台": a new station in category.
    void AddStation(int category);
    // "編輯站台" / "修改站台"
    void EditStation();
    // "刪除站台": the station only; its schedule entry stays.
    void DeleteStation();
    // "加入我的最愛": a copy of the current station in category 10, also when it is there.
    void AddToFavourites();

private:
    std::string Current(const char* fieldName) const;

    TDMMain& data;
    std::function<TfmWWW&()> scheduleDialog;
    std::function<TfmFavor&()> stationDialog;
};
