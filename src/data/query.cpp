#include "data/query.h"

#include <cctype>

#include "core/text.h"
#include "data/databaseerror.h"
#include "data/fielddef.h"
#include "data/tablefile.h"

namespace {

bool IsNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The ":name" parameters of an SQL text, in order of first use; quoted texts are skipped.
std::vector<std::string> ParameterNames(const std::string& sql)
{
    std::vector<std::string> names;
    char quote = 0;
    for (size_t i = 0; i < sql.size(); ++i) {
        char c = sql[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            continue;
        }
        if (c != ':' || i + 1 >= sql.size() || !IsNameCharacter(sql[i + 1]))
            continue;
        size_t end = i + 1;
        while (end < sql.size() && IsNameCharacter(sql[end]))
            ++end;
        std::string name = sql.substr(i + 1, end - i - 1);
        bool known = false;
        for (const std::string& have : names)
            known = known || SameText(have, name);
        if (!known)
            names.push_back(name);
        i = end - 1;
    }
    return names;
}

// Where a keyword starts as a whole word outside quotes, or npos.
size_t FindKeyword(const std::string& sql, const std::string& word, size_t from = 0)
{
    char quote = 0;
    for (size_t i = from; i < sql.size(); ++i) {
        char c = sql[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            continue;
        }
        bool startsWord = i == 0 || !IsNameCharacter(sql[i - 1]);
        size_t end = i + word.size();
        if (startsWord && end <= sql.size() && SameText(sql.substr(i, word.size()), word)
            && (end == sql.size() || !IsNameCharacter(sql[end])))
            return i;
    }
    return std::string::npos;
}

}  // namespace

TQuery::TQuery(TSession& session, std::string name) : TDataSet(session, std::move(name))
{
}

TQuery::~TQuery()
{
    Close();
}

void TQuery::SetDatabaseName(const std::string& folder)
{
    Close();
    connection.reset();
    databaseName = folder;
}

void TQuery::SetSQL(const std::vector<std::string>& text)
{
    Close();
    lines = text;
    params.clear();
    for (const std::string& name : ParameterNames(SQLText()))
        params.emplace_back(name);
}

void TQuery::ReorderRows(const std::vector<std::string>& text, const std::string& fieldName, bool descending)
{
    CheckActive();
    std::vector<std::string> kept = lines;
    lines = text;
    try {
        std::vector<std::string> names = ParameterNames(SQLText());
        bool same = names.size() == params.size();
        for (size_t i = 0; same && i < names.size(); ++i)
            same = SameText(names[i], params[i].Name());
        if (!same)
            throw EDatabaseError(Name() + ": A new order cannot change the parameters: " + SQLText());
        std::string file;
        translated = Translate(file);
        SortRows(FieldByName(fieldName).Index(), descending);
    } catch (...) {
        lines = kept;
        std::string file;
        translated = Translate(file);
        throw;
    }
}

std::string TQuery::SQLText() const
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

TParam& TQuery::ParamByName(const std::string& paramName)
{
    for (TParam& param : params)
        if (SameText(param.Name(), paramName))
            return param;
    throw EDatabaseError(Name() + ": Parameter '" + paramName + "' not found");
}

// The SQL as SQLite runs it: the quoted file name becomes the table's name, and the
// rowid is selected first so that rows can be written back.
std::string TQuery::Translate(std::string& file) const
{
    std::string sql = SQLText();
    size_t select = FindKeyword(sql, "select");
    size_t from = FindKeyword(sql, "from");
    if (select == std::string::npos || from == std::string::npos || !Trim(sql.substr(0, select)).empty())
        throw EDatabaseError(Name() + ": A query must select from one table file: " + sql);
    size_t start = from + 4;
    while (start < sql.size() && std::isspace(static_cast<unsigned char>(sql[start])))
        ++start;
    size_t end = start;
    std::string name;
    if (start < sql.size() && sql[start] == '"') {
        end = sql.find('"', start + 1);
        if (end == std::string::npos)
            throw EDatabaseError(Name() + ": Unterminated table name in: " + sql);
        name = sql.substr(start + 1, end - start - 1);
        ++end;
    } else {
        while (end < sql.size() && !std::isspace(static_cast<unsigned char>(sql[end])) && sql[end] != ';')
            ++end;
        name = sql.substr(start, end - start);
    }
    if (name.empty())
        throw EDatabaseError(Name() + ": A query must select from one table file: " + sql);
    file = TableFilePath(databaseName, name);
    std::string table = QuoteName(TableBaseName(file));
    sql.replace(start, end - start, table);
    sql.insert(select + 6, " " + table + ".rowid AS \"zanvik_rowid\",");
    return sql;
}

void TQuery::OpenSource()
{
    std::string file;
    std::string sql = Translate(file);
    if (!connection || connection->Path() != file)
        connection = std::make_unique<TSqliteConnection>(file, TableBaseName(file));
    lockFile = CanonicalFile(file);
    translated = sql;
    std::vector<TFieldDef> tableDefs = connection->Columns();
    TSqliteStatement probe = connection->Prepare(translated);
    std::vector<TFieldDef> defs;
    std::vector<std::string> columns;
    for (int i = 1; i < probe.ColumnCount(); ++i) {
        std::string name = probe.ColumnName(i);
        TFieldDef def = FieldDefOfColumn(name, probe.ColumnDeclaredType(i), false, false);
        std::string column;
        for (const TFieldDef& tableDef : tableDefs)
            if (SameText(tableDef.name, name)) {
                def = tableDef;
                def.name = name;
                column = tableDef.name;
            }
        defs.push_back(def);
        columns.push_back(column);
    }
    DefineStoredFields(defs, columns);
}

void TQuery::CloseSource()
{
}

void TQuery::BindParams(TSqliteStatement& statement) const
{
    for (int i = 1; i <= statement.ParameterCount(); ++i) {
        std::string name = statement.ParameterName(i);
        for (const TParam& param : params)
            if (SameText(param.Name(), name))
                statement.Bind(i, param.Value());
    }
}

TSqliteStatement TQuery::SelectRows()
{
    TSqliteStatement select = connection->Prepare(translated);
    BindParams(select);
    return select;
}
