#include "data/fielddef.h"

#include "core/text.h"

std::string QuoteName(const std::string& name)
{
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

std::string ColumnDeclaration(const TFieldDef& def)
{
    std::string column = QuoteName(def.name) + " ";
    switch (def.type) {
    case TFieldType::String:
        column += "VARCHAR(" + std::to_string(def.size) + ")";
        break;
    case TFieldType::Integer:
        column += "INTEGER";
        break;
    case TFieldType::Boolean:
        column += "BOOLEAN";
        break;
    case TFieldType::DateTime:
        column += "TIMESTAMP";
        break;
    case TFieldType::Date:
        column += "DATE";
        break;
    case TFieldType::AutoInc:
        return column + "INTEGER PRIMARY KEY AUTOINCREMENT";
    }
    if (def.required)
        column += " NOT NULL";
    return column;
}

TFieldDef FieldDefOfColumn(const std::string& name, const std::string& declaredType, bool notNull,
                           bool autoIncrement)
{
    TFieldDef def;
    def.name = name;
    def.required = notNull;
    std::string type = UpperCase(Trim(declaredType));
    if (autoIncrement) {
        def.type = TFieldType::AutoInc;
    } else if (StartsWithText(type, "VARCHAR") || StartsWithText(type, "CHAR") || StartsWithText(type, "TEXT")) {
        def.type = TFieldType::String;
        size_t open = type.find('(');
        long long size = 0;
        if (open != std::string::npos && TryToInt(type.substr(open + 1, type.find(')') - open - 1), size))
            def.size = static_cast<int>(size);
        else
            def.size = 255;
    } else if (type == "INTEGER" || type == "INT" || type == "LONG") {
        def.type = TFieldType::Integer;
    } else if (type == "BOOLEAN" || type == "LOGICAL") {
        def.type = TFieldType::Boolean;
    } else if (type == "TIMESTAMP" || type == "DATETIME") {
        def.type = TFieldType::DateTime;
    } else if (type == "DATE") {
        def.type = TFieldType::Date;
    } else {
        def.type = TFieldType::String;
        def.size = 255;
    }
    return def;
}
