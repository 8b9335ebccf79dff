#pragma once

#include <string>

#include "core/datetime.h"

class TTable;

// The key of a schedule entry being saved: the current moment in whole seconds, or the
// first second after it that no row of station (the whole file, whatever its filter) holds
// as its Index, so that two entries saved within one second both get a key. ownIndex is
// the entry's stored Index in the tables' text form ("" for a new entry): the entry may
// keep it, since no other row holds it.
TDateTime FreeEntryIndex(const TTable& station, const std::string& ownIndex);
