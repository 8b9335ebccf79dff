#pragma once

#include <string>

// An installed Zanvik keeps its read-only files (pictures, help documents, the shipped
// tables) in PREFIX/share/zanvik/ and its user's files in the user's own program folder.
// These routines fill that folder from the installed files.

// Copies every file of installed into folder under the same relative name, but a shipped
// table ("tables/kind.db") into "data/" and only when the user has none, since it takes
// the user's rows; any other file is copied again when the installed one is newer. A copy
// keeps the installed file's time and appears whole or not at all. Raises EInOutError
// naming the file that could not be copied.
void CopyInstalledFiles(const std::string& installed, const std::string& folder);

// CopyInstalledFiles from InstalledFilesFolder() into ProgramFolder(), creating it; does
// nothing when the program does not run from an installed prefix.
void PrepareProgramFolder();
