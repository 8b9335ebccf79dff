#include "platform/rasnmcliterse.h"

#include <charconv>

namespace {

std::vector<std::string> TerseFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\\' && i + 1 < line.size())
            fields.back() += line[++i];
        else if (c == ':')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

}  // namespace

std::vector<std::vector<std::string>> TerseRows(const std::string& output)
{
    std::vector<std::vector<std::string>> rows;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            rows.push_back(TerseFields(line));
        start = end + 1;
    }
    return rows;
}

unsigned ActivePathNumber(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash + 1 >= path.size())
        return 0;
    unsigned number = 0;
    const char* first = path.data() + slash + 1;
    const char* last = path.data() + path.size();
    auto [end, error] = std::from_chars(first, last, number);
    return error == std::errc() && end == last ? number : 0;
}
