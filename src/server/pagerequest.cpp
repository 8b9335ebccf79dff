#include "server/pagerequest.h"

#include "grab/pagestore.h"
#include "grab/turl.h"

namespace {

constexpr char CRLF[] = "\r\n";

// "wwwData/" directly followed by "/": the host had no address in the cache.
bool WithoutSiteFolder(const std::string& storePath)
{
    const size_t folder = StoreFolderName.size();
    return storePath.size() > folder && storePath[folder] == '/';
}

}  // namespace

std::string FirstLine(const std::string& data)
{
    size_t end = data.find(CRLF);
    return end == std::string::npos ? std::string() : data.substr(0, end);
}

std::string RequestTarget(const std::string& firstLine)
{
    size_t get = firstLine.find("GET ");
    size_t start = get == std::string::npos ? 3 : get + 4;
    if (start >= firstLine.size())
        return {};
    size_t blank = firstLine.find(' ', start);
    if (blank == std::string::npos)
        return {};
    return firstLine.substr(start, blank - start);
}

TPageRequest PageRequestOf(const std::string& target)
{
    Turl url(target);
    std::string storePath = url.StorePath();
    if (storePath.empty())
        return {std::string(), target};
    if (WithoutSiteFolder(storePath))
        return {std::string(), url.URLText()};
    return {storePath, url.URLText()};
}
