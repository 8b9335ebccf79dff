#pragma once

#include <string>

#include "core/datetime.h"
#include "data/value.h"

// One ":name" parameter of a query. A date-time is passed in the tables' text form, so it
// compares with the timestamp columns as they are stored.
class TParam {
public:
    explicit TParam(std::string name);

    const std::string& Name() const { return name; }
    const TValue& Value() const { return value; }

    void SetAsString(const std::string& text);
    void SetAsInteger(long long number);
    void SetAsBoolean(bool flag);
    void SetAsDateTime(TDateTime moment);
    void Clear();

private:
    std::string name;
    TValue value;
};
