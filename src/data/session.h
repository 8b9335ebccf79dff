#pragma once

#include <string>

// A database session. Every table object and query of a session opens its own connection
// to its file (so a session's objects can be used on different threads); the session is
// what owns the record locks those objects take. The main thread's tables are in the
// default session; the scheduler's query and the phone book's look-up table in "seschange".
class TSession {
public:
    explicit TSession(std::string name);
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    const std::string& Name() const { return name; }

private:
    std::string name;
};
