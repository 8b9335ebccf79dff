#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

// Starts a program file with its arguments and does not wait for it; the child is
// reaped in the background. Gives the child's pid, or -1 when it could not start.
pid_t StartProgram(const std::string& file, const std::vector<std::string>& arguments);

// As StartProgram, but the caller owns the child and must reap it (WaitProgram or
// ProgramRunning), to learn when it has ended.
pid_t SpawnProgram(const std::string& file, const std::vector<std::string>& arguments);
// True while the child started by SpawnProgram runs; reaps it once it has ended and
// then gives its exit code (-1 when it did not exit normally) through exitCode.
bool ProgramRunning(pid_t pid, int* exitCode = nullptr);
// Waits for the child and gives its exit code (-1 when it did not exit normally).
int WaitProgram(pid_t pid);
// Ends a child started by SpawnProgram that is still running (SIGTERM) and reaps it.
void EndProgram(pid_t pid);

// The full path of a program found on $PATH, or empty.
std::string FindOnPath(const std::string& name);

// Opens a file or URL with the desktop's handler ("xdg-open"). False when none starts.
bool ShellOpen(const std::string& target);
