#pragma once

#include <string>
#include <variant>

// One stored value as SQLite keeps it: null, integer, real or text.
using TValue = std::variant<std::monostate, long long, double, std::string>;

inline bool IsNullValue(const TValue& value) { return std::holds_alternative<std::monostate>(value); }
