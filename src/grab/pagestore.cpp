#include "grab/pagestore.h"

#include <atomic>

#include <unistd.h>

#include "core/paths.h"

bool IsSiteFolderName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::string StoreRoot()
{
    return ProgramFolder() + std::string(StoreFolderName);
}

std::string SiteFolder(const std::string& address)
{
    if (!IsSiteFolderName(address))
        return {};
    return StoreRoot() + address;
}

std::string PageFile(const std::string& siteFolder, const std::string& localPath)
{
    if (siteFolder.empty() || localPath.empty())
        return {};
    return JoinPath(siteFolder, localPath);
}

std::string TemporaryFile(const std::string& pageFile)
{
    static std::atomic<unsigned long long> last{0};
    return pageFile + "." + std::to_string(::getpid()) + "-" + std::to_string(++last) + ".TMP";
}
