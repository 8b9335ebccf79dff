#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The run's log: section "log" of ProgramFolder + "logfile.txt", one key
// "<n>HH:MM:SS" per entry, the previous run's file kept as "logfile.bak". Requests come
// from any thread and never wait; the entries are written on the main thread.
class TLog {
public:
    enum class Kind : std::uint8_t { SeveralLines = 0, OneLine = 1, Detail = 2 };

    // A one-line entry: the common request.
    static void Line(const std::string& text);
    // A detail request: accepted and dropped, as detail lines are not kept.
    static void Detail(const std::string& text);
    // A several-line request (the error report): accepted and dropped as well.
    static void Lines(const std::vector<std::string>& lines);
};

// Saves the previous log as "logfile.bak", opens "logfile.txt" and writes the start
// entries. Raises EProfileWrite (with the file named) when the log cannot be written.
void StartLog();
// Closes the log; entries requested afterwards are dropped.
void EndLog();
