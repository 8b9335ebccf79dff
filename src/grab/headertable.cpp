#include "grab/headertable.h"

#include <algorithm>

#include "core/text.h"

std::string THeaderTable::Value(const std::string& name) const
{
    for (const auto& [key, value] : lines)
        if (SameText(key, name))
            return value;
    return {};
}

void THeaderTable::Set(const std::string& name, const std::string& value)
{
    auto found = std::find_if(lines.begin(), lines.end(), [&](const auto& line) { return SameText(line.first, name); });
    if (value.empty()) {
        if (found != lines.end())
            lines.erase(found);
    } else if (found != lines.end()) {
        found->second = value;
    } else {
        lines.emplace_back(name, value);
    }
}

std::string StatusCodeOf(const std::string& response)
{
    return response.size() >= 12 ? response.substr(9, 3) : std::string();
}

bool HasHeaderEnd(const std::string& response)
{
    return response.find("\r\n\r\n") != std::string::npos || response.find("\n\n") != std::string::npos;
}

size_t BodyOffset(const std::string& response, size_t from)
{
    size_t crlf = response.find("\r\n\r\n", from);
    size_t lf = response.find("\n\n", from);
    if (crlf == std::string::npos && lf == std::string::npos)
        return std::string::npos;
    if (lf == std::string::npos || (crlf != std::string::npos && crlf < lf))
        return crlf + 4;
    return lf + 2;
}

bool KeepsConnection(const std::string& response)
{
    THeaderTable lines;
    lines.Take(response, [] { return false; });
    return LowerCase(lines.Value("Connection")).find("keep-alive") != std::string::npos;
}
