#include "data/sqlitestatement.h"

#include <sqlite3.h>

#include "data/databaseerror.h"

TSqliteStatement::TSqliteStatement(sqlite3* db, const std::string& sql, const std::string& path)
    : db(db), path(path)
{
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK)
        Fail();
}

TSqliteStatement::~TSqliteStatement()
{
    sqlite3_finalize(statement);
}

TSqliteStatement::TSqliteStatement(TSqliteStatement&& other) noexcept
    : db(other.db), statement(other.statement), path(std::move(other.path))
{
    other.statement = nullptr;
}

void TSqliteStatement::Fail() const
{
    throw EDatabaseError(std::string(sqlite3_errmsg(db)) + " (table \"" + path + "\")");
}

void TSqliteStatement::Bind(int index, const TValue& value)
{
    int result = SQLITE_OK;
    if (const auto* integer = std::get_if<long long>(&value))
        result = sqlite3_bind_int64(statement, index, *integer);
    else if (const auto* real = std::get_if<double>(&value))
        result = sqlite3_bind_double(statement, index, *real);
    else if (const auto* text = std::get_if<std::string>(&value))
        result = sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
    else
        result = sqlite3_bind_null(statement, index);
    if (result != SQLITE_OK)
        Fail();
}

int TSqliteStatement::ParameterCount() const
{
    return sqlite3_bind_parameter_count(statement);
}

std::string TSqliteStatement::ParameterName(int index) const
{
    const char* name = sqlite3_bind_parameter_name(statement, index);
    if (!name || !*name)
        return {};
    return name + 1;
}

bool TSqliteStatement::Step()
{
    int result = sqlite3_step(statement);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    Fail();
}

int TSqliteStatement::ColumnCount() const
{
    return sqlite3_column_count(statement);
}

std::string TSqliteStatement::ColumnName(int column) const
{
    const char* name = sqlite3_column_name(statement, column);
    return name ? name : "";
}

std::string TSqliteStatement::ColumnDeclaredType(int column) const
{
    const char* type = sqlite3_column_decltype(statement, column);
    return type ? type : "";
}

TValue TSqliteStatement::Column(int column) const
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return static_cast<long long>(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_NULL:
        return {};
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return std::string(text ? text : "", static_cast<size_t>(sqlite3_column_bytes(statement, column)));
    }
    }
}
