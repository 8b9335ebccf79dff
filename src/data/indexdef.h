#pragma once

#include <string>

// A named index of a table; the lists use the named ones as orderings.
struct TIndexDef {
    std::string name;
    std::string field;
    bool unique = false;           // the primary index is the unique one on the key
    bool descending = false;
    bool caseInsensitive = false;  // COLLATE NOCASE
};

// CREATE [UNIQUE] INDEX statement of def on table.
std::string IndexCreation(const TIndexDef& def, const std::string& table);
