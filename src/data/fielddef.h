#pragma once

#include <string>

// The table field types: alpha(n), long, logical, timestamp, date and autoinc.
enum class TFieldType { String, Integer, Boolean, DateTime, Date, AutoInc };

struct TFieldDef {
    std::string name;
    TFieldType type = TFieldType::String;
    int size = 0;  // characters of an alpha field
    bool required = false;
};

// The column declaration of a field in CREATE TABLE, for example "URL" VARCHAR(50).
// The declared types give text affinity to alpha fields and keep the field type readable
// from the file.
std::string ColumnDeclaration(const TFieldDef& def);

// The field a column of a table file stands for, from its declared type.
TFieldDef FieldDefOfColumn(const std::string& name, const std::string& declaredType, bool notNull,
                           bool autoIncrement);

// An identifier in double quotes, with quotes inside it doubled.
std::string QuoteName(const std::string& name);
