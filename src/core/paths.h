#pragma once

#include <stdexcept>
#include <string>

#include "platform/folders.h"

// A folder or file that could not be made or written.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// folder + "/" + name, or folder + name when folder already ends in "/".
std::string JoinPath(const std::string& folder, const std::string& name);

// True when a folder or a file of that name exists; one trailing "/" is ignored.
bool FolderExists(const std::string& path);

// Creates every missing folder above the file of path, level by level; the first level
// is never created. Raises EInOutError for a level that cannot be made.
void ForceFolderOf(const std::string& path);

// Reads the whole of a regular file into content, to its end. False, with content empty,
// when it is missing, is no regular file or cannot be read. Plain system calls: the
// grabber reads a stored page for every page it checks.
bool ReadWholeFile(const std::string& path, std::string& content);

// When source exists, target becomes a copy of it; otherwise nothing happens.
void CopyFileIfExists(const std::string& source, const std::string& target);

// Removes path with everything under it and returns how many entries could not be removed
// (a folder kept only because something in it stayed is not counted again). Symbolic links
// are removed as links and never followed; a path that does not exist counts nothing.
int RemoveTree(const std::string& path);

bool FileExists(const std::string& path);
long long FileSize(const std::string& path);  // -1 when the file cannot be measured
