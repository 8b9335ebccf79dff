#include "dial/jobnumber.h"

#include <algorithm>
#include <cctype>
#include <climits>

int JobNumber(const std::string& commandLine)
{
    size_t i = 0;
    while (i < commandLine.size() && std::isspace(static_cast<unsigned char>(commandLine[i])))
        ++i;
    bool negative = false;
    if (i < commandLine.size() && (commandLine[i] == '+' || commandLine[i] == '-'))
        negative = commandLine[i++] == '-';
    long long value = 0;
    for (; i < commandLine.size() && std::isdigit(static_cast<unsigned char>(commandLine[i])); ++i)
        value = std::min<long long>(value * 10 + (commandLine[i] - '0'), INT_MAX);
    return static_cast<int>(negative ? -value : value);
}
