#include "grab/siteremoval.h"

#include <cerrno>
#include <vector>

#include <sys/stat.h>

#include "core/paths.h"
#include "core/text.h"
#include "grab/pagestore.h"
#include "grab/turl.h"
#include "net/dns.h"

TSiteRemoval::TSiteRemoval(const std::string& url)
{
    Turl site(url);
    std::string local = site.LocalPath();
    if (local.empty()) {
        outcome = TOutcome::NoStorePath;
        return;
    }
    TDNS* cache = HostCache();
    siteFolder = SiteFolder(cache ? cache->Lookup(site.HostName()) : std::string());
    if (siteFolder.empty()) {
        outcome = TOutcome::NotCached;
        return;
    }
    // LocalPath has no "." or ".." segment and no empty one, so the folder of the start
    // page lies in the site folder or is the site folder itself.
    size_t slash = local.rfind('/');
    inside = slash == std::string::npos ? std::string() : local.substr(0, slash);
    folder = inside.empty() ? siteFolder : JoinPath(siteFolder, inside);
}

// Every folder from the server's folder down to the parent of the one removed must be a
// real folder, so that the removal cannot be led out of the store by a link; the folder
// removed may itself be a link, which then goes as a link.
TSiteRemoval::TOutcome TSiteRemoval::CheckPath() const
{
    std::string path = siteFolder;
    std::vector<std::string> levels = inside.empty() ? std::vector<std::string>() : SplitText(inside, '/');
    for (size_t level = 0;; ++level) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0)
            return errno == ENOENT ? TOutcome::Gone : TOutcome::Refused;
        bool last = level == levels.size();
        if (last)
            return S_ISDIR(info.st_mode) || S_ISLNK(info.st_mode) ? TOutcome::Removed : TOutcome::Refused;
        if (!S_ISDIR(info.st_mode))
            return TOutcome::Refused;
        path = JoinPath(path, levels[level]);
    }
}

void TSiteRemoval::Run()
{
    if (folder.empty())
        return;
    outcome = CheckPath();
    if (outcome == TOutcome::Removed)
        failures = RemoveTree(folder);
}
