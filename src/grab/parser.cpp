#include "grab/parser.h"

#include <algorithm>
#include <cstring>

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// word is in lower case.
bool SameWord(std::string_view token, std::string_view word)
{
    for (size_t i = 0; i < word.size(); ++i)
        if (LowerAscii(token[i]) != word[i])
            return false;
    return true;
}

int SingleCharacterKind(char c)
{
    switch (c) {
    case '<':
        return TParser::TagOpen;
    case '>':
        return TParser::TagClose;
    case '=':
        return TParser::Equals;
    case ' ':
        return TParser::Blank;
    case '"':
        return TParser::Quote;
    default:
        return TParser::Other;
    }
}

}  // namespace

TParser::TParser(std::string_view fileStream, std::string_view delimiters) : fileStream(fileStream)
{
    for (char c : delimiters)
        isDelimiter[static_cast<unsigned char>(c)] = true;
}

std::string_view TParser::NextToken()
{
    // Locals, so that the loop is not made to store the position after every byte.
    const char* data = fileStream.data();
    size_t size = fileStream.size();
    size_t start = position;
    size_t end = start;
    tokenStart = start;
    while (end < size && !isDelimiter[static_cast<unsigned char>(data[end])])
        ++end;
    if (end == size) {
        atEnd = true;
        position = end;
        return fileStream.substr(start);
    }
    // A delimiter that ends a word stays unread, so the next call gives it on its own.
    if (end == start)
        ++end;
    position = end;
    return fileStream.substr(start, end - start);
}

void TParser::Skip(size_t count)
{
    position += std::min(count, fileStream.size() - position);
}

void TParser::StepBack(size_t count)
{
    position -= std::min(count, position - tokenStart);
}

std::string_view TParser::TakeUntil(char end)
{
    std::string_view rest = Rest();
    const void* found = std::memchr(rest.data(), end, rest.size());
    if (!found) {
        position = fileStream.size();
        atEnd = true;
        return rest;
    }
    size_t length = static_cast<size_t>(static_cast<const char*>(found) - rest.data());
    position += length + 1;
    return rest.substr(0, length);
}

// Every token is looked up, so the words are told apart by their length first; no two
// words of the table are equal, so the order of the table needs no keeping here.
int TParser::TokenKind(std::string_view token)
{
    switch (token.size()) {
    case 1:
        return SingleCharacterKind(token[0]);
    case 3:
        return SameWord(token, "src") ? Src : Other;
    case 4:
        return SameWord(token, "html") ? Html : SameWord(token, "href") ? Href : Other;
    case 5:
        return SameWord(token, "style") ? Style : Other;
    case 6:
        return SameWord(token, "srcset") ? Srcset : SameWord(token, "poster") ? Poster : Other;
    case 8:
        return SameWord(token, "redirect") ? Redirect : SameWord(token, "data-src") ? DataSrc : Other;
    case 10:
        return SameWord(token, "background") ? Background : Other;
    case 11:
        return SameWord(token, "data-srcset") ? DataSrcset : Other;
    default:
        return Other;
    }
}
