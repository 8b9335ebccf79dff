#pragma once

#include <string>

// Texts inside the program are UTF-8; the page server's error pages go out in Big5.
// A character that the other code page lacks becomes "?".
std::string Utf8ToBig5(const std::string& text);
std::string Big5ToUtf8(const std::string& text);
