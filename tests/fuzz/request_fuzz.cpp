// A browser's request as the page server takes it apart: the stored file it names always
// lies inside the page store.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/stat.h>

#include "net/dns.h"
#include "server/pagerequest.h"
#include "storepath.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string home = "/dev/shm/zanvik-request-fuzz";
    mkdir(home.c_str(), 0700);
    setenv("ZANVIK_HOME", home.c_str(), 1);
    static TDNS cache;
    cache.Remember("www.example.com", "127.0.0.1");
    cache.Remember("a", "10.0.0.1");
    SetHostCache(&cache);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string received(reinterpret_cast<const char*>(data), size);
    const std::string path = PageRequestOf(RequestTarget(FirstLine(received))).RelativePath;
    if (!path.empty() && (path[0] == '/' || HasParentStep(path))) {
        std::fprintf(stderr, "store path outside the store: %s\n", path.c_str());
        std::abort();
    }
    return 0;
}
