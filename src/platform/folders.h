#pragma once

#include <string>

// The folder of the running program (or $ZANVIK_HOME), always ending in "/".
std::string ProgramFolder();

// The folder that holds the running program file, whatever $ZANVIK_HOME says; ends in "/".
// The programs of one build live there together.
std::string ExecutableFolder();

// Where a profile file named without a folder lives: $ZANVIK_WINDIR, else
// $XDG_CONFIG_HOME/zanvik, else ~/.config/zanvik. Ends in "/"; created on demand.
std::string WindowsFolder();

// Re-reads the environment; for tests that change $ZANVIK_HOME or $ZANVIK_WINDIR.
void ForgetFolders();
