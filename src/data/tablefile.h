#pragma once

#include <string>

// The file of a table named as the table objects and the queries name it: a name that is
// a full path stands alone, any other is joined to the folder; ".db" is added when the
// name has no extension. A file whose name differs only in letter case is taken when no
// file of the exact name exists ("Favor.db" finds favor.db).
std::string TableFilePath(const std::string& folder, const std::string& tableName);

// The name of the table inside a table file: the file's name without its extension.
std::string TableBaseName(const std::string& path);

// The full path of a file, for telling two names of one file apart.
std::string CanonicalFile(const std::string& path);
