#pragma once

#include <string>

#include "data/session.h"
#include "data/table.h"

// The data module: owns the table objects of the four tables, kind.db (kindTab), favor.db
// (telStation), station.db (tabStation) and see.db (seeTab), in the default session, and
// station.db once more (tabForTel) in the second session "seschange". It opens them at
// start-up, creating station.db and see.db when they are missing, computes the calculated
// fields, asks before a row that another session holds is edited, reports failed posts and
// deletes, and rebuilds indexes. It belongs to the main thread.
class TDMMain {
public:
    // Opens the tables in ProgramFolder() + "data". A table that cannot be opened (a
    // missing kind.db, a damaged file) raises EDatabaseError naming its file; nothing that
    // exists is created anew.
    TDMMain();
    ~TDMMain();
    TDMMain(const TDMMain&) = delete;
    TDMMain& operator=(const TDMMain&) = delete;

    TSession& Session() { return session; }
    TSession& sesChange() { return seschange; }
    TTable& kindTab() { return kind; }
    TTable& telStation() { return favor; }
    TTable& tabStation() { return station; }
    TTable& tabForTel() { return forTel; }
    TTable& seeTab() { return see; }

    std::string DataFolder() const;

    // The index rebuild: each closes its table, drops and re-creates its indexes and
    // opens it again.
    void RebuildSeeIndexes();
    void RebuildStationIndexes();
    void RebuildFavorIndexes();

private:
    void Configure();
    void CreateStation();
    void CreateSee();
    void LockTest(TDataSet& table, const std::string& word);
    void CalcFavor(TDataSet& table);
    void CalcSee(TDataSet& table);

    TSession session;
    TSession seschange;
    TTable kind;
    TTable favor;
    TTable station;
    TTable forTel;
    TTable see;
};

// The process's data module, made at start-up; nullptr before and after.
TDMMain* DMMain();
void SetDMMain(TDMMain* module);
