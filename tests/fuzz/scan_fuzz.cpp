// Pages and style sheets as a hostile site may serve them, through a grab thread's link
// scanner; the scanner's state carries over from page to page as it does in a grab. The
// first byte chooses the level, quick mode and the type.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "grab/linkscanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const std::string file = "/dev/shm/zanvik-scan-fuzz-" + std::to_string(getpid());
    std::FILE* page = std::fopen(file.c_str(), "wb");
    if (!page || std::fwrite(data + 1, 1, size - 1, page) != size - 1 || std::fclose(page) != 0)
        std::abort();
    static TLinkScanner scanner([](const std::vector<TQueuedLink>& links) {
        for (const TQueuedLink& link : links)
            if (link.url.empty())
                std::abort();
    });
    TScanRequest request;
    request.pageFile = file;
    request.pageUrl = Turl("http://www.example.com/dir/page.html");
    request.level = 1 + data[0] % 3;
    request.textOnly = (data[0] & 8) != 0;
    request.contentType = (data[0] & 16) != 0 ? "text/css" : "text/html";
    request.stopped = [] { return false; };
    scanner.ScanPage(request);
    return 0;
}
