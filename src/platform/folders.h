#pragma once

#include <string>

// The folder of the running program (or $ZANVIK_HOME), always ending in "/". An installed
// program (see InstalledFilesFolder) uses the user's own folder instead, UserProgramFolder.
std::string ProgramFolder();

// The folder that holds the running program file, whatever $ZANVIK_HOME says; ends in "/".
// The programs of one build live there together.
std::string ExecutableFolder();

// Where a profile file named without a folder lives: $ZANVIK_WINDIR, else
// $XDG_CONFIG_HOME/zanvik, else ~/.config/zanvik. Ends in "/"; created on demand.
std::string WindowsFolder();

// Re-reads the environment; for tests that change $ZANVIK_HOME or $ZANVIK_WINDIR.
void ForgetFolders();

// PREFIX/share/zanvik/, where the read-only files are installed, when the running program
// file lies in PREFIX/bin and that folder exists; empty otherwise (a build folder).
std::string InstalledFilesFolder();
// The same rule for a given folder of the program file.
std::string InstalledFilesFolderFor(const std::string& programFileFolder);

// The program folder of an installed Zanvik: $XDG_DATA_HOME/zanvik/, else
// ~/.local/share/zanvik/, for every user including root. Not created here.
std::string UserProgramFolder();
