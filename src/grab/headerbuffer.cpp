#include "grab/headerbuffer.h"

#include <algorithm>

#include "grab/headertable.h"
#include "net/httplimits.h"

size_t THeaderBuffer::Take(const char* data, size_t size)
{
    if (complete || TooLong())
        return 0;
    const size_t before = text.size();
    const size_t taken = std::min(size, MaxHeaderBytes - before);
    text.append(data, taken);
    // The empty line may straddle two pieces: look again from the last bytes of before.
    size_t end = BodyOffset(text, before >= 3 ? before - 3 : 0);
    if (end == std::string::npos)
        return taken;
    complete = true;
    text.resize(end);
    return end - before;
}

bool THeaderBuffer::TooLong() const
{
    return !complete && text.size() >= MaxHeaderBytes;
}
