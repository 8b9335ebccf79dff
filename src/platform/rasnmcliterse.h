#pragma once

#include <string>
#include <vector>

// The rows of nmcli's terse output (-t): one row a line, fields split at ":", with the
// escapes "\:" and "\\" of values undone.
std::vector<std::vector<std::string>> TerseRows(const std::string& output);

// The number at the end of an active connection's D-Bus path
// ("/org/freedesktop/NetworkManager/ActiveConnection/7"), or 0 when there is none.
unsigned ActivePathNumber(const std::string& path);
