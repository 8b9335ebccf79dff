#pragma once

#include <string>

class TDMMain;
class TSiteRemoval;

// The reading list's command "刪除" on its current grabbed site: the site's stored pages
// go, its schedule entry is marked as deleted (status 3) and its row leaves the list. The
// site being grabbed is not deleted.
class TReadingListCommands {
public:
    // data must outlive this object.
    explicit TReadingListCommands(TDMMain& data);

    // The reading list is open and holds at least one site.
    bool HasSites() const;

    void DeleteGrabbedSite();

private:
    void MarkScheduleEntry(const std::string& url);
    void DeleteRow();

    TDMMain& data;
};

// The status line after a removal: what was deleted, or why nothing was.
std::string RemovalStatus(const TSiteRemoval& removal);
