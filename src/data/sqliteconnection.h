#pragma once

#include <string>
#include <vector>

#include "data/fielddef.h"
#include "data/sqlitestatement.h"

struct sqlite3;

// One connection to the table file of one table. Opening checks the file before anything
// is written to it: a file that is not an SQLite database, a damaged or truncated one, or
// one without the table raises EDatabaseError naming the file, and the file stays as it is.
// Then the connection uses a WAL journal with synchronous=FULL, so a committed row is on
// disk when the statement returns, and a busy timeout, so two sessions wait for each
// other instead of failing.
class TSqliteConnection {
public:
    TSqliteConnection(const std::string& path, const std::string& table);
    ~TSqliteConnection();
    TSqliteConnection(const TSqliteConnection&) = delete;
    TSqliteConnection& operator=(const TSqliteConnection&) = delete;

    const std::string& Path() const { return path; }
    // The table's name as the file spells it.
    const std::string& Table() const { return table; }

    // The table's columns in their order, as fields.
    std::vector<TFieldDef> Columns();

    void Exec(const std::string& sql);
    TSqliteStatement Prepare(const std::string& sql);
    long long LastInsertRowId() const;
    int Changes() const;

private:
    [[noreturn]] void FailOpen(const std::string& reason);
    void CheckDatabase();
    void FindTable(const std::string& wanted);

    std::string path;
    std::string table;
    sqlite3* db = nullptr;
};
