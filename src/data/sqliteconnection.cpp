#include "data/sqliteconnection.h"

#include <sqlite3.h>

#include "core/text.h"
#include "data/databaseerror.h"

namespace {

const int kBusyTimeoutMs = 5000;

}  // namespace

TSqliteConnection::TSqliteConnection(const std::string& path, const std::string& wanted) : path(path)
{
    // A connection is only ever used by one thread at a time (each data set belongs to one
    // thread, and others reach it through Synchronize), so SQLite need not lock it on
    // every call; that locking was a tenth of reading a large table.
    int result = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (result != SQLITE_OK)
        FailOpen(db ? sqlite3_errmsg(db) : sqlite3_errstr(result));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    CheckDatabase();
    FindTable(wanted);
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=FULL");
    // A large phone book is scanned from memory the next time too (up to 16 MB of pages),
    // and a query that sorts it keeps its runs in memory instead of a temporary file.
    Exec("PRAGMA cache_size=-16000");
    Exec("PRAGMA temp_store=MEMORY");
}

TSqliteConnection::~TSqliteConnection()
{
    sqlite3_close_v2(db);
}

void TSqliteConnection::FailOpen(const std::string& reason)
{
    sqlite3_close_v2(db);
    db = nullptr;
    throw EDatabaseError("Cannot open table \"" + path + "\": " + reason);
}

// Reads the whole file once: SQLite itself only notices damage on the page it happens to
// read, which for a truncated file may be long after the table was opened.
void TSqliteConnection::CheckDatabase()
{
    std::string verdict;
    try {
        TSqliteStatement check(db, "PRAGMA quick_check", path);
        if (check.Step()) {
            TValue first = check.Column(0);
            if (const auto* text = std::get_if<std::string>(&first))
                verdict = *text;
        }
    } catch (const EDatabaseError&) {
        FailOpen(sqlite3_errstr(sqlite3_extended_errcode(db)));
    }
    if (verdict != "ok")
        FailOpen("the file is damaged (" + verdict + ")");
}

void TSqliteConnection::FindTable(const std::string& wanted)
{
    TSqliteStatement tables(db, "SELECT name FROM sqlite_master WHERE type = 'table'", path);
    while (tables.Step()) {
        TValue name = tables.Column(0);
        const auto* text = std::get_if<std::string>(&name);
        if (text && SameText(*text, wanted)) {
            table = *text;
            return;
        }
    }
    FailOpen("the file holds no table \"" + wanted + "\"");
}

std::vector<TFieldDef> TSqliteConnection::Columns()
{
    bool autoIncrement = false;
    TSqliteStatement schema(db, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?", path);
    schema.Bind(1, table);
    if (schema.Step()) {
        TValue sql = schema.Column(0);
        if (const auto* text = std::get_if<std::string>(&sql))
            autoIncrement = Contains(UpperCase(*text), "AUTOINCREMENT");
    }
    std::vector<TFieldDef> defs;
    TSqliteStatement info(db, "PRAGMA table_info(" + QuoteName(table) + ")", path);
    while (info.Step()) {
        TValue name = info.Column(1);
        TValue type = info.Column(2);
        const auto* typeText = std::get_if<std::string>(&type);
        bool notNull = std::get<long long>(info.Column(3)) != 0;
        bool key = std::get<long long>(info.Column(5)) != 0;
        defs.push_back(FieldDefOfColumn(std::get<std::string>(name), typeText ? *typeText : "", notNull,
                                        key && autoIncrement));
    }
    return defs;
}

void TSqliteConnection::Exec(const std::string& sql)
{
    TSqliteStatement statement(db, sql, path);
    while (statement.Step()) {
    }
}

TSqliteStatement TSqliteConnection::Prepare(const std::string& sql)
{
    return TSqliteStatement(db, sql, path);
}

long long TSqliteConnection::LastInsertRowId() const
{
    return sqlite3_last_insert_rowid(db);
}

int TSqliteConnection::Changes() const
{
    return sqlite3_changes(db);
}
