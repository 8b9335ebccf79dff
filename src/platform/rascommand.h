#pragma once

#include <chrono>
#include <string>
#include <vector>

struct TCommandResult {
    bool started = false;   // false: the program could not be started; failure says why
    bool timedOut = false;  // it was killed when its time was up
    int exitCode = -1;      // -1 when it did not end by exiting
    std::string output;     // what it wrote to its standard output
    std::string errors;     // and to its standard error
    std::string failure;
};

// Runs a program file (a full path, no shell) with its arguments, feeds it input on its
// standard input and collects what it writes. A program still running when the time is
// up is killed with its whole process group, so a caller never hangs on it.
TCommandResult RunCommand(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& input, std::chrono::milliseconds timeout);
