// Addresses as a hostile page or server may write them: split, resolved against a base,
// canonicalised, and turned into the file they are stored in, which never leaves its site
// folder. Input: the base address, a line break, the reference.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "grab/pagestore.h"
#include "grab/redirect.h"
#include "grab/turl.h"
#include "grab/urlcanon.h"
#include "grab/wirepath.h"
#include "net/spliturl.h"
#include "storepath.h"

namespace {

void Require(bool holds, const char* what, const std::string& text)
{
    if (!holds) {
        std::fprintf(stderr, "%s: %s\n", what, text.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t cut = input.find('\n');
    const std::string base = input.substr(0, cut);
    const std::string reference = cut == std::string::npos ? std::string() : input.substr(cut + 1);

    ComposeUrl(SplitUrl(base));
    std::string resolved;
    ResolveReference(base, reference, resolved);
    CanonicalUrl(reference);
    std::string scheme, user, path, port, host, password;
    SplitURL(input, scheme, user, path, port, host, password);

    const Turl page(base);
    const Turl link = page.Combine(reference);
    for (const Turl* url : {&page, &link}) {
        url->HostAndPort();
        url->HostName();
        url->PortText();
        url->StorePath();
        WirePath(url->PathPart());
        const std::string file = PageFile("/store/site", url->LocalPath());
        Require(file.empty() || file.rfind("/store/site/", 0) == 0, "page file outside its site folder", file);
        Require(!HasParentStep(file), "page file with a parent step", file);
    }
    const std::vector<std::string> chain{page.URLText()};
    DecideRedirect(chain, 301, reference, false);
    DecideRedirect(chain, 307, reference, true);
    return 0;
}
