#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// Splits a page into tokens: a run of bytes that are no delimiters, or one delimiter
// alone. Bytes are taken as they are, so entities stay undecoded and the two-byte
// characters of Big5 pass through. Tokens are views of the stream, which the parser
// reads but does not own; they stay valid as long as the stream does.
class TParser {
public:
    // The kinds of the keyword table; Other also stands for the empty token.
    enum Kind : int {
        Html = 0,
        Src = 1,
        Href = 2,
        TagOpen = 3,
        TagClose = 4,
        Equals = 5,
        Blank = 6,
        Background = 7,
        Quote = 8,
        Redirect = 9,
        Other = 10,
    };

    TParser(std::string_view fileStream, std::string_view delimiters);

    // The next token; at the end of the stream AtEnd is set and the token built so far
    // (perhaps empty) is given.
    std::string_view NextToken();
    bool AtEnd() const { return atEnd; }

    // The kind of the first keyword equal to the whole token, without regard to case.
    static int TokenKind(std::string_view token);

private:
    std::string_view fileStream;
    size_t position = 0;
    std::array<bool, 256> isDelimiter{};
    bool atEnd = false;
};
