#pragma once

#include <string>

#include "data/value.h"

struct sqlite3;
struct sqlite3_stmt;

// One prepared SQL statement of a table connection. Errors raise EDatabaseError with the
// engine's text and the file's name.
class TSqliteStatement {
public:
    TSqliteStatement(sqlite3* db, const std::string& sql, const std::string& path);
    ~TSqliteStatement();
    TSqliteStatement(TSqliteStatement&& other) noexcept;
    TSqliteStatement(const TSqliteStatement&) = delete;
    TSqliteStatement& operator=(const TSqliteStatement&) = delete;
    TSqliteStatement& operator=(TSqliteStatement&&) = delete;

    void Bind(int index, const TValue& value);  // parameters count from 1
    int ParameterCount() const;
    std::string ParameterName(int index) const;  // without its ":"; empty for "?"

    // Runs the statement to its next row: true when a row is ready, false when done.
    bool Step();

    int ColumnCount() const;
    std::string ColumnName(int column) const;
    std::string ColumnDeclaredType(int column) const;
    TValue Column(int column) const;

private:
    [[noreturn]] void Fail() const;

    sqlite3* db;
    sqlite3_stmt* statement = nullptr;
    std::string path;
};
