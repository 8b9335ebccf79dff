#pragma once

#include <string>

// Deleting the stored pages of a grabbed site: the folder of the page store that holds the
// site's start page, with everything in it. Only a server's folder under "wwwData/", or a
// folder inside one, is ever chosen; never "wwwData/" itself, the program folder or
// anything outside. An address without a file in the store, or whose host has no address
// in the host cache, names no folder. Symbolic links are removed as links, never followed,
// and a folder reached through one is left alone.
class TSiteRemoval {
public:
    enum class TOutcome {
        Pending,      // not run yet
        NoStorePath,  // the address has no file in the store
        NotCached,    // its host has no address in the host cache
        Gone,         // the folder no longer exists
        Refused,      // a link or a file stands where a folder of the path should be
        Removed,      // removed, as far as it could be (see Failures)
    };

    // Chooses the folder for the site's start address url.
    explicit TSiteRemoval(const std::string& url);

    // The folder chosen; empty when there is none.
    const std::string& Folder() const { return folder; }

    // Removes the folder, going on past entries that cannot be removed.
    void Run();

    TOutcome Outcome() const { return outcome; }
    // The entries that could not be removed.
    int Failures() const { return failures; }

private:
    TOutcome CheckPath() const;

    std::string siteFolder;  // the server's folder in the store
    std::string inside;      // the folder's path below siteFolder, empty for siteFolder itself
    std::string folder;
    TOutcome outcome = TOutcome::Pending;
    int failures = 0;
};
