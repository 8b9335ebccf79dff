// Answer headers as a hostile server may send them, arriving in pieces of the size the
// first byte gives.
#include <algorithm>
#include <cstdint>
#include <string>

#include "grab/headerbuffer.h"
#include "grab/headertable.h"
#include "grab/httpdate.h"
#include "grab/redirect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t piece = 1 + data[0] % 64;
    const std::string sent(reinterpret_cast<const char*>(data) + 1, size - 1);
    THeaderBuffer buffer;
    for (size_t at = 0; at < sent.size() && !buffer.Complete() && !buffer.TooLong(); at += piece)
        buffer.Take(sent.data() + at, std::min(piece, sent.size() - at));
    const std::string header = buffer.Text();
    for (const std::string* answer : {&header, &sent}) {
        StatusCodeOf(*answer);
        HasHeaderEnd(*answer);
        BodyOffset(*answer);
        KeepsConnection(*answer);
        LocationOf(*answer);
        THeaderTable table;
        table.Take(*answer, [] { return false; });
        ServerIsNewer(Rfc1123Date(1700000000), table.Value("Last-Modified"));
        table.Value("Content-Length");
    }
    return 0;
}
