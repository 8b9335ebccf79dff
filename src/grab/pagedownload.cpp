#include "grab/pagedownload.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "core/text.h"
#include "grab/headertable.h"
#include "grab/pagestore.h"
#include "grab/redirect.h"

namespace {

// A few names in use by other fetches (or left by an earlier run) are skipped.
const int kNameAttempts = 100;
// The body is kept up to this size and written in one call: the answer's reads come on
// the main thread, which serves every window, and most pages then cost it no write at
// all; the fetching thread writes them as they land.
const size_t kWriteAt = 64 * 1024;

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

TPageDownload::TPageDownload(std::string pageFile, long long headLength)
    : pageFile(std::move(pageFile)), headLength(headLength)
{
}

TPageDownload::~TPageDownload()
{
    Discard();
}

bool TPageDownload::Open()
{
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        temporary = TemporaryFile(pageFile);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        temporary.clear();
    return fd >= 0;
}

bool TPageDownload::Take(const char* data, size_t size)
{
    if (fd < 0 || fileFailed || complete)
        return false;
    if (!header.Complete()) {
        size_t used = header.Take(data, size);
        if (!header.Complete())
            return !header.TooLong();
        TakeHeader();
        if (Outcome(0) == TOutcome::HeaderBad || Outcome(0) == TOutcome::StatusBad)
            return false;
        data += used;
        size -= used;
    }
    if (getLength >= 0 && static_cast<long long>(size) > getLength - bodySize) {
        overrun = true;
        size = static_cast<size_t>(getLength - bodySize);
    }
    unwritten.append(data, size);
    if (unwritten.size() >= kWriteAt && !WriteUnwritten())
        return false;
    bodySize += static_cast<long long>(size);
    complete = getLength >= 0 && bodySize >= getLength;
    return !complete;
}

void TPageDownload::TakeHeader()
{
    status = StatusCodeOf(header.Text());
    THeaderTable lines;
    lines.Take(header.Text(), [] { return false; });
    long long length = 0;
    if (TryToInt(lines.Value("Content-Length"), length) && length >= 0)
        getLength = length;
}

TPageDownload::TOutcome TPageDownload::Outcome(int transferError) const
{
    // A status that is not three digits is no HTTP header (nor text fit for a log line).
    if (!header.Complete() || status.size() != 3
        || !std::all_of(status.begin(), status.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return TOutcome::HeaderBad;
    if (status[0] != '2')
        return TOutcome::StatusBad;
    if (fileFailed)
        return TOutcome::FileFailed;
    if (complete)
        return TOutcome::Whole;  // an end after the declared length does not matter
    if (transferError != 0)
        return TOutcome::Reset;
    if (bodySize < ExpectedSize())
        return TOutcome::CutShort;
    return bodySize == 0 ? TOutcome::Empty : TOutcome::Whole;
}

std::string TPageDownload::Location() const
{
    return LocationOf(header.Text());
}

long long TPageDownload::ExpectedSize() const
{
    return getLength >= 0 ? getLength : headLength;
}

bool TPageDownload::WriteUnwritten()
{
    fileFailed = fileFailed || !WriteAll(fd, unwritten.data(), unwritten.size());
    unwritten.clear();
    return !fileFailed;
}

bool TPageDownload::CloseFile()
{
    if (fd < 0)
        return false;
    bool closed = ::close(fd) == 0;
    fd = -1;
    return closed;
}

bool TPageDownload::Land()
{
    if (!WriteUnwritten() || !CloseFile() || ::rename(temporary.c_str(), pageFile.c_str()) != 0) {
        Discard();
        return false;
    }
    temporary.clear();
    return true;
}

void TPageDownload::Discard()
{
    unwritten.clear();
    CloseFile();
    if (!temporary.empty())
        std::remove(temporary.c_str());
    temporary.clear();
}
