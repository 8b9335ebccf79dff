#pragma once

#include <cstddef>
#include <string>

// The header of an answer as its bytes arrive in pieces: kept up to the empty line that
// ends it, and never beyond MaxHeaderBytes, so that a server sending without end cannot
// make the program grow.
class THeaderBuffer {
public:
    // Takes the next bytes of the answer; gives how many of them belong to the header.
    // Bytes after a complete header, or beyond the limit, are not taken.
    size_t Take(const char* data, size_t size);
    // The empty line has come.
    bool Complete() const { return complete; }
    // The limit was reached without an empty line.
    bool TooLong() const;
    // The header up to and including its empty line; what came so far when incomplete.
    const std::string& Text() const { return text; }

private:
    std::string text;
    bool complete = false;
};
