#pragma once

#include <string>

// The number a command line starts with: leading white space and a sign are accepted,
// the digits end at the first other character; 0 when there are none.
int JobNumber(const std::string& commandLine);
