#pragma once

#include <string>

// Table files are made whole or not at all, and never over a file that is already there
// (it may hold the user's rows). This part needs nothing but SQLite, so the build's seeding
// tool compiles it on its own.

// Makes the table file at path by running the SQL script on a fresh file beside it, which
// takes the final name only when the script has run. Raises EDatabaseError naming the file
// when it exists already or the script fails; nothing is left behind then.
void CreateDatabaseFile(const std::string& path, const std::string& script);

// Makes dbPath from the SQL script in scriptPath when dbPath does not exist, creating its
// folder; true when it made the file, false when one was there.
bool SeedDatabaseFile(const std::string& scriptPath, const std::string& dbPath);
