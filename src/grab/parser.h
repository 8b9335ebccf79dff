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
        // Words of today's pages, past the original table.
        Srcset = 11,
        DataSrc = 12,
        DataSrcset = 13,
        Poster = 14,
        Style = 15,
    };

    TParser(std::string_view fileStream, std::string_view delimiters);

    // The next token; at the end of the stream AtEnd is set and the token built so far
    // (perhaps empty) is given.
    std::string_view NextToken();
    bool AtEnd() const { return atEnd; }

    // For values read as raw bytes: the bytes not yet read, a step forward over some of
    // them, and a step back over the end of the last token (never past its start).
    std::string_view Rest() const { return fileStream.substr(position); }
    void Skip(size_t count);
    void StepBack(size_t count);
    // The bytes up to the next end byte, which is passed over. Without one: the rest of
    // the stream, and AtEnd is set.
    std::string_view TakeUntil(char end);

    // The kind of the first keyword equal to the whole token, without regard to case.
    static int TokenKind(std::string_view token);

private:
    std::string_view fileStream;
    size_t position = 0;
    size_t tokenStart = 0;
    std::array<bool, 256> isDelimiter{};
    bool atEnd = false;
};
