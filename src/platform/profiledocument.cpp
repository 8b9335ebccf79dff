#include "platform/profiledocument.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trim(const std::string& s)
{
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A line break inside a key or value would split it into lines of its own and could
// forge other keys, so such characters are written as blanks.
std::string OneLine(std::string s)
{
    std::replace(s.begin(), s.end(), '\n', ' ');
    std::replace(s.begin(), s.end(), '\r', ' ');
    return s;
}

// Names as profile files compare them, for sets of names.
struct NoCaseHash {
    size_t operator()(std::string_view text) const
    {
        size_t hash = 14695981039346656037ull;
        for (char c : text)
            hash = (hash ^ static_cast<unsigned char>(Lower(c))) * 1099511628211ull;
        return hash;
    }
};

struct NoCaseEqual {
    bool operator()(std::string_view a, std::string_view b) const
    {
        return a.size() == b.size()
            && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
    }
};

}  // namespace

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool StartsWithText(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

ProfileDocument::ProfileDocument(const std::string& text)
{
    if (text.empty())
        return;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(Parse(text.substr(start)));
            finalNewline = false;
            break;
        }
        lines.push_back(Parse(text.substr(start, end - start)));
        start = end + 1;
    }
}

ProfileDocument::Line ProfileDocument::Parse(std::string raw)
{
    Line line;
    line.raw = std::move(raw);
    std::string trimmed = Trim(line.raw);
    if (trimmed.empty() || trimmed[0] == ';')
        return line;
    if (trimmed[0] == '[') {
        size_t close = trimmed.find(']');
        line.kind = Kind::Section;
        line.name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    size_t equals = trimmed.find('=');
    if (equals == std::string::npos)
        return line;
    line.kind = Kind::Entry;
    line.name = Trim(trimmed.substr(0, equals));
    line.value = Trim(trimmed.substr(equals + 1));
    // Windows takes a value in matching quotes without them.
    if (line.value.size() >= 2 && (line.value.front() == '"' || line.value.front() == '\'')
        && line.value.back() == line.value.front())
        line.value = line.value.substr(1, line.value.size() - 2);
    return line;
}

std::optional<size_t> ProfileDocument::FindSection(const std::string& section) const
{
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == Kind::Section && SameText(lines[i].name, section))
            return i;
    return std::nullopt;
}

size_t ProfileDocument::SectionEnd(size_t sectionLine) const
{
    size_t i = sectionLine + 1;
    while (i < lines.size() && lines[i].kind != Kind::Section)
        ++i;
    return i;
}

std::optional<size_t> ProfileDocument::FindKey(size_t sectionLine, const std::string& key) const
{
    size_t end = SectionEnd(sectionLine);
    for (size_t i = sectionLine + 1; i < end; ++i)
        if (lines[i].kind == Kind::Entry && SameText(lines[i].name, key))
            return i;
    return std::nullopt;
}

size_t ProfileDocument::LastEntryOf(size_t sectionLine) const
{
    size_t last = sectionLine;
    size_t end = SectionEnd(sectionLine);
    for (size_t i = sectionLine + 1; i < end; ++i)
        if (!Trim(lines[i].raw).empty())
            last = i;
    return last;
}

std::optional<std::string> ProfileDocument::Value(const std::string& section, const std::string& key) const
{
    auto s = FindSection(section);
    if (!s)
        return std::nullopt;
    auto k = FindKey(*s, key);
    if (!k)
        return std::nullopt;
    return lines[*k].value;
}

std::vector<std::pair<std::string, std::string>> ProfileDocument::Entries(const std::string& section) const
{
    std::vector<std::pair<std::string, std::string>> result;
    auto s = FindSection(section);
    if (!s)
        return result;
    // A set of the names seen keeps a section of many keys (the host cache) linear.
    size_t end = SectionEnd(*s);
    std::unordered_set<std::string_view, NoCaseHash, NoCaseEqual> seen;
    seen.reserve(end - *s);
    result.reserve(end - *s);
    for (size_t i = *s + 1; i < end; ++i)
        if (lines[i].kind == Kind::Entry && seen.insert(lines[i].name).second)
            result.emplace_back(lines[i].name, lines[i].value);
    return result;
}

std::vector<std::string> ProfileDocument::Keys(const std::string& section) const
{
    std::vector<std::string> keys;
    for (auto& entry : Entries(section))
        keys.push_back(entry.first);
    return keys;
}

std::vector<std::string> ProfileDocument::Sections() const
{
    std::vector<std::string> names;
    for (const Line& line : lines) {
        if (line.kind != Kind::Section)
            continue;
        bool seen = std::any_of(names.begin(), names.end(), [&](const auto& n) { return SameText(n, line.name); });
        if (!seen)
            names.push_back(line.name);
    }
    return names;
}

bool ProfileDocument::HasSection(const std::string& section) const
{
    return FindSection(section).has_value();
}

std::string ProfileDocument::EntryText(const std::string& key, const std::string& value)
{
    return OneLine(key) + "=" + OneLine(value);
}

bool ProfileDocument::NewKeyGoesAtEnd(const std::string& section) const
{
    auto s = FindSection(section);
    return s && finalNewline && SectionEnd(*s) == lines.size() && LastEntryOf(*s) + 1 == lines.size();
}

void ProfileDocument::Set(const std::string& section, const std::string& key, const std::string& value)
{
    Line line = Parse(EntryText(key, value));
    line.name = OneLine(key);
    line.value = OneLine(value);
    auto s = FindSection(section);
    if (!s) {
        finalNewline = true;
        lines.push_back(Parse("[" + OneLine(section) + "]"));
        lines.push_back(std::move(line));
        return;
    }
    if (auto k = FindKey(*s, key)) {
        lines[*k] = std::move(line);
        return;
    }
    size_t after = LastEntryOf(*s);
    if (after + 1 == lines.size())
        finalNewline = true;
    lines.insert(lines.begin() + static_cast<long>(after) + 1, std::move(line));
}

bool ProfileDocument::Delete(const std::string& section, const std::string& key)
{
    auto s = FindSection(section);
    if (!s)
        return false;
    auto k = FindKey(*s, key);
    if (!k)
        return false;
    lines.erase(lines.begin() + static_cast<long>(*k));
    return true;
}

bool ProfileDocument::EraseSection(const std::string& section)
{
    auto s = FindSection(section);
    if (!s)
        return false;
    lines.erase(lines.begin() + static_cast<long>(*s), lines.begin() + static_cast<long>(SectionEnd(*s)));
    return true;
}

bool ProfileDocument::AddSection(const std::string& section)
{
    if (FindSection(section))
        return false;
    finalNewline = true;
    lines.push_back(Parse("[" + OneLine(section) + "]"));
    return true;
}

std::string ProfileDocument::Text() const
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i].raw;
        if (i + 1 < lines.size() || finalNewline)
            text += '\n';
    }
    return text;
}
