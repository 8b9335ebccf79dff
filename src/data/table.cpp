#include "data/table.h"

#include "core/text.h"
#include "data/databaseerror.h"
#include "data/databasefile.h"
#include "data/tablefile.h"

TTable::TTable(TSession& session, std::string name) : TDataSet(session, std::move(name))
{
}

TTable::~TTable()
{
    Close();
}

void TTable::SetDatabaseName(const std::string& folder)
{
    Close();
    databaseName = folder;
}

void TTable::SetTableName(const std::string& name)
{
    Close();
    tableName = name;
}

std::string TTable::FilePath() const
{
    return TableFilePath(databaseName, tableName);
}

std::string TTable::BaseName() const
{
    return TableBaseName(FilePath());
}

void TTable::OpenSource()
{
    std::string path = FilePath();
    connection = std::make_unique<TSqliteConnection>(path, BaseName());
    lockFile = CanonicalFile(path);
    try {
        std::vector<TFieldDef> defs = connection->Columns();
        columns.clear();
        for (const TFieldDef& def : defs)
            columns.push_back(def.name);
        DefineStoredFields(defs, columns);
    } catch (...) {
        connection.reset();
        throw;
    }
}

void TTable::CloseSource()
{
    connection.reset();
}

std::string TTable::ColumnOf(const std::string& fieldName) const
{
    for (const std::string& column : columns)
        if (SameText(column, fieldName))
            return column;
    throw EDatabaseError(Name() + ": Field '" + fieldName + "' not found");
}

std::string TTable::WhereClause(TValue& value) const
{
    if (!filtered || Trim(filter).empty())
        return {};
    size_t equals = filter.find('=');
    if (equals == std::string::npos)
        throw EDatabaseError(Name() + ": Filter expression incorrect: " + filter);
    std::string column = ColumnOf(Trim(filter.substr(0, equals)));
    std::string text = Trim(filter.substr(equals + 1));
    long long number = 0;
    if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'')
        value = text.substr(1, text.size() - 2);
    else if (TryToInt(text, number))
        value = number;
    else
        throw EDatabaseError(Name() + ": Filter expression incorrect: " + filter);
    return " WHERE " + QuoteName(column) + " = ?";
}

std::string TTable::OrderClause() const
{
    if (indexName.empty())
        return " ORDER BY rowid";
    std::string found;
    TSqliteStatement list = connection->Prepare("PRAGMA index_list(" + QuoteName(connection->Table()) + ")");
    while (list.Step()) {
        std::string name = std::get<std::string>(list.Column(1));
        if (SameText(name, indexName))
            found = name;
    }
    if (found.empty())
        throw EDatabaseError(Name() + ": Index '" + indexName + "' not found (table \"" + FilePath() + "\")");
    std::string order;
    TSqliteStatement keys = connection->Prepare("PRAGMA index_xinfo(" + QuoteName(found) + ")");
    while (keys.Step()) {
        if (std::get<long long>(keys.Column(5)) == 0)
            continue;
        TValue column = keys.Column(2);
        if (!std::holds_alternative<std::string>(column))
            continue;
        order += QuoteName(std::get<std::string>(column)) + " COLLATE " + std::get<std::string>(keys.Column(4));
        if (std::get<long long>(keys.Column(3)) != 0)
            order += " DESC";
        order += ", ";
    }
    return " ORDER BY " + order + "rowid";
}

TSqliteStatement TTable::SelectRows()
{
    std::string names;
    for (const std::string& column : columns)
        names += ", " + QuoteName(column);
    TValue value;
    std::string where = WhereClause(value);
    TSqliteStatement select = connection->Prepare("SELECT rowid" + names + " FROM " + QuoteName(connection->Table())
                                                  + where + OrderClause());
    if (!where.empty())
        select.Bind(1, value);
    return select;
}

void TTable::ChangeView(const std::function<void()>& change)
{
    if (!Active()) {
        change();
        return;
    }
    CheckBrowseMode();
    std::string oldFilter = filter;
    bool oldFiltered = filtered;
    std::string oldIndex = indexName;
    change();
    try {
        Reload();
    } catch (...) {
        filter = oldFilter;
        filtered = oldFiltered;
        indexName = oldIndex;
        Reload();
        throw;
    }
    Notify(TDataEvent::DataChanged);
    First();
}

void TTable::SetFilter(const std::string& text)
{
    ChangeView([&] { filter = text; });
}

void TTable::SetFiltered(bool value)
{
    ChangeView([&] { filtered = value; });
}

void TTable::SetIndexName(const std::string& name)
{
    ChangeView([&] { indexName = name; });
}

void TTable::CreateTable()
{
    std::string path = FilePath();
    if (Active())
        throw EDatabaseError(Name() + ": Cannot create table \"" + path + "\" while it is open");
    if (fieldDefs.empty())
        throw EDatabaseError(Name() + ": Cannot create table \"" + path + "\" without fields");
    std::string base = BaseName();
    std::string declarations;
    for (const TFieldDef& def : fieldDefs)
        declarations += (declarations.empty() ? "" : ",\n    ") + ColumnDeclaration(def);
    std::string script = "CREATE TABLE " + QuoteName(base) + " (\n    " + declarations + ");\n";
    for (const TIndexDef& def : indexDefs)
        script += IndexCreation(def, base) + ";\n";
    CreateDatabaseFile(path, script);
}

void TTable::RebuildIndexes()
{
    if (Active())
        throw EDatabaseError(Name() + ": Cannot rebuild the indexes of \"" + FilePath() + "\" while it is open");
    TSqliteConnection file(FilePath(), BaseName());
    file.Exec("BEGIN IMMEDIATE");
    try {
        for (const TIndexDef& def : indexDefs) {
            file.Exec("DROP INDEX IF EXISTS " + QuoteName(def.name));
            file.Exec(IndexCreation(def, file.Table()));
        }
        file.Exec("COMMIT");
    } catch (...) {
        try {
            file.Exec("ROLLBACK");
        } catch (const EDatabaseError&) {
            // The failure that brought us here is the one to report.
        }
        throw;
    }
}

std::vector<TIndexDef> TTable::FileIndexDefs() const
{
    CheckActive();
    std::vector<TIndexDef> result;
    TSqliteStatement list = connection->Prepare("PRAGMA index_list(" + QuoteName(connection->Table()) + ")");
    while (list.Step()) {
        if (std::get<std::string>(list.Column(3)) != "c")
            continue;
        TIndexDef def;
        def.name = std::get<std::string>(list.Column(1));
        def.unique = std::get<long long>(list.Column(2)) != 0;
        TSqliteStatement keys = connection->Prepare("PRAGMA index_xinfo(" + QuoteName(def.name) + ")");
        while (keys.Step()) {
            TValue column = keys.Column(2);
            if (std::get<long long>(keys.Column(5)) == 0 || !std::holds_alternative<std::string>(column))
                continue;
            def.field += (def.field.empty() ? "" : ";") + std::get<std::string>(column);
            def.descending = std::get<long long>(keys.Column(3)) != 0;
            def.caseInsensitive = SameText(std::get<std::string>(keys.Column(4)), "NOCASE");
        }
        result.push_back(def);
    }
    return result;
}

bool TTable::HasValue(const std::string& fieldName, const std::string& text) const
{
    CheckActive();
    TSqliteStatement select = connection->Prepare("SELECT 1 FROM " + QuoteName(connection->Table()) + " WHERE "
                                                  + QuoteName(ColumnOf(fieldName)) + " = ? LIMIT 1");
    select.Bind(1, text);
    return select.Step();
}
