#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/profiledocument.h"  // SameText, StartsWithText

// The pieces between separators, in order; an empty text gives one empty piece.
std::vector<std::string> SplitText(const std::string& text, char separator);

std::string ReplaceChar(std::string text, char from, char to);

// The decimal text of number, with "0" in front until it is width characters long.
std::string ZeroPad(long long number, int width);

// Blanks and control characters off both ends, as the toolkit's Trim does.
std::string Trim(const std::string& text);
std::string TrimLeft(const std::string& text);

std::string LowerCase(std::string text);
std::string UpperCase(std::string text);
bool EndsWithText(const std::string& text, const std::string& suffix);    // without regard to case
bool Contains(const std::string& text, const std::string& part);

// The toolkit's conversion error: a text that should be a number is not one.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The decimal integer of text; raises EConvertError ("'x' is not a valid integer value").
int StrToInt(const std::string& text);

// The decimal integer of a whole text (leading and trailing blanks allowed), or false.
bool TryToInt(const std::string& text, long long& value);
