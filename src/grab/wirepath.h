#pragma once

#include <string>

// The path of a request line. URLs are kept with their escapes decoded, so a path may
// hold blanks, control characters or bytes beyond ASCII that a request line cannot
// carry; those (and "%", so that a decoded "%" survives) are written as escapes again.
std::string WirePath(const std::string& path);
