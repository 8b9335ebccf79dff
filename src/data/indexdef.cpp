#include "data/indexdef.h"

#include "data/fielddef.h"

std::string IndexCreation(const TIndexDef& def, const std::string& table)
{
    std::string sql = def.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    sql += QuoteName(def.name) + " ON " + QuoteName(table) + " (" + QuoteName(def.field);
    if (def.caseInsensitive)
        sql += " COLLATE NOCASE";
    if (def.descending)
        sql += " DESC";
    return sql + ")";
}
