#include "grab/stylesheet.h"

#include <cstring>
#include <string>

#include "core/text.h"

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// A byte that may be part of a name: "myurl(" is no url(.
bool IsNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '\\' || static_cast<unsigned char>(c) >= 0x80;
}

bool StartsWithWord(std::string_view text, std::string_view word)
{
    return text.size() >= word.size() && SameText(std::string(text.substr(0, word.size())), std::string(word));
}

std::string_view TrimSpaces(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

TStyleSheet::TStyleSheet(std::string_view text) : text(text)
{
    for (char c : std::string_view("(@/\"'"))
        isSpecial[static_cast<unsigned char>(c)] = true;
}

bool TStyleSheet::NextLink(TStyleLink& link)
{
    for (;;) {
        position = FindSpecial(position);
        if (position == text.size())
            return false;
        char c = text[position];
        if (c == '/') {
            SkipComment();
        } else if (c == '"' || c == '\'') {
            ReadString();
        } else if (c == '@') {
            if (ReadImport(link) && !link.address.empty())
                return true;
        } else if (OpensUrl(position)) {
            ++position;
            link = {ReadUrl(), false};
            if (!link.address.empty())
                return true;
        } else {
            ++position;
        }
    }
}

// The first byte that may begin a comment, a string, an at-word or a function's
// arguments. The sheet can be megabytes long, so this loop is kept bare.
size_t TStyleSheet::FindSpecial(size_t from) const
{
    const char* data = text.data();
    size_t size = text.size();
    while (from < size && !isSpecial[static_cast<unsigned char>(data[from])])
        ++from;
    return from;
}

bool TStyleSheet::OpensUrl(size_t parenthesis) const
{
    if (parenthesis < 3 || !StartsWithWord(text.substr(parenthesis - 3), "url"))
        return false;
    return parenthesis == 3 || !IsNameByte(text[parenthesis - 4]);
}

// position is at "@". Anything but an import is passed over.
bool TStyleSheet::ReadImport(TStyleLink& link)
{
    ++position;
    std::string_view rest = text.substr(position);
    if (!StartsWithWord(rest, "import") || (rest.size() > 6 && IsNameByte(rest[6])))
        return false;
    position += 6;
    SkipSpaces();
    if (position == text.size())
        return false;
    rest = text.substr(position);
    if (rest[0] == '"' || rest[0] == '\'') {
        link = {ReadString(), true};
        return true;
    }
    if (StartsWithWord(rest, "url(")) {
        position += 4;
        link = {ReadUrl(), true};
        return true;
    }
    return false;
}

// position is just after "url(": a quoted or a bare address, up to and past the ")".
std::string_view TStyleSheet::ReadUrl()
{
    SkipSpaces();
    if (position < text.size() && (text[position] == '"' || text[position] == '\'')) {
        std::string_view address = ReadString();
        SkipSpaces();
        if (position < text.size() && text[position] == ')')
            ++position;
        return address;
    }
    size_t start = position;
    const void* close = std::memchr(text.data() + start, ')', text.size() - start);
    size_t end = close ? static_cast<size_t>(static_cast<const char*>(close) - text.data()) : text.size();
    position = close ? end + 1 : end;
    std::string_view address = TrimSpaces(text.substr(start, end - start));
    // A bare address with a blank, quote or parenthesis inside is no address at all.
    for (char c : address)
        if (IsSpace(c) || c == '"' || c == '\'' || c == '(')
            return {};
    return address;
}

// position is at the opening quote. A string ends at its closing quote or, unclosed, at
// the end of its line; a backslash escapes the byte after it.
std::string_view TStyleSheet::ReadString()
{
    char quote = text[position++];
    size_t start = position;
    while (position < text.size() && text[position] != quote && text[position] != '\n') {
        if (text[position] == '\\' && position + 1 < text.size())
            ++position;
        ++position;
    }
    std::string_view value = text.substr(start, position - start);
    if (position < text.size() && text[position] == quote)
        ++position;
    return value;
}

// position is at "/": a comment runs to "*/" or the end of the sheet.
void TStyleSheet::SkipComment()
{
    ++position;
    if (position == text.size() || text[position] != '*')
        return;
    size_t end = text.find("*/", position + 1);
    position = end == std::string_view::npos ? text.size() : end + 2;
}

void TStyleSheet::SkipSpaces()
{
    while (position < text.size() && IsSpace(text[position]))
        ++position;
}
