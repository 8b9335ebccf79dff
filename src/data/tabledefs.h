#pragma once

#include <vector>

#include "data/fielddef.h"
#include "data/indexdef.h"

// The fields and indexes of the tables the program creates (station.db, see.db) and the
// indexes it rebuilds in the phone book (favor.db).
std::vector<TFieldDef> StationFieldDefs();
std::vector<TIndexDef> StationIndexDefs();
std::vector<TFieldDef> SeeFieldDefs();
std::vector<TIndexDef> SeeIndexDefs();
std::vector<TIndexDef> FavorIndexDefs();
