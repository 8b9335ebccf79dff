#pragma once

#include <cstddef>
#include <string>

#include "grab/headerbuffer.h"

// One GET answer on its way into the page store. Its header is kept in a THeaderBuffer;
// its body goes into a temporary file of its own beside the page file, which takes the
// page file's place in one rename, and only when the answer is whole and good. So two
// fetches of one page never write into each other's file, the page file always holds one
// whole answer, and an older copy outlives a failed fetch. Not locked: the owner keeps
// Take and the calls after the transfer apart.
class TPageDownload {
public:
    enum class TOutcome { Whole, Empty, HeaderBad, StatusBad, Reset, CutShort, FileFailed };

    // headLength: the Content-Length of the HEAD answer, 0 when it gave none.
    TPageDownload(std::string pageFile, long long headLength);
    ~TPageDownload();
    TPageDownload(const TPageDownload&) = delete;
    TPageDownload& operator=(const TPageDownload&) = delete;

    // Makes the temporary file; false when it cannot be made.
    bool Open();
    // Takes the next bytes of the answer. False once it wants no more: the header was
    // refused, the body reached the length the GET answer declared, or the file failed.
    bool Take(const char* data, size_t size);
    long long BodySize() const { return bodySize; }
    // The body reached the length the GET answer declared, and nothing came beyond it: the
    // answer ended where its header said, so the connection may carry another.
    bool EndedAsDeclared() const { return complete && !overrun; }
    // The header of the GET answer, once it came whole.
    const std::string& Header() const { return header.Text(); }
    // What the answer came to once the connection has ended; transferError is the
    // Winsock error it ended with, 0 for an orderly end.
    TOutcome Outcome(int transferError) const;
    // The status code of the GET answer (three characters), once its header came.
    const std::string& Status() const { return status; }
    // Where the GET answer says the page has moved; empty when it does not say.
    std::string Location() const;
    // The length the GET answer declared, else the HEAD answer's; 0 when neither did.
    long long ExpectedSize() const;
    // Puts the temporary file in the page file's place; false (and the file removed)
    // when that fails.
    bool Land();
    // Removes the temporary file.
    void Discard();

private:
    void TakeHeader();
    bool WriteUnwritten();
    bool CloseFile();

    const std::string pageFile;
    const long long headLength;
    std::string temporary;
    int fd = -1;
    std::string unwritten;  // body bytes taken and not yet in the file
    THeaderBuffer header;
    std::string status;
    long long getLength = -1;  // -1: the GET answer declared none
    long long bodySize = 0;
    bool complete = false;  // the body reached getLength
    bool overrun = false;   // bytes came beyond getLength
    bool fileFailed = false;
};
