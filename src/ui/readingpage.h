#pragma once

#include <functional>

#include "ui/listpage.h"
#include "ui/readinglistcommands.h"

class QAction;
class QMenu;
class TDMMain;

// The reading list page: the grabbed sites of see.db in the list mechanics of every page,
// and "刪除" on its popup menu, which deletes the current site with its stored pages.
class TReadingPage : public TListPage {
public:
    // data must outlive the page; isCurrentList tells whether the reading list is the
    // window's current list.
    TReadingPage(TDMMain& data, std::function<bool()> isCurrentList, QWidget* parent);

    // "刪除"
    void DeleteGrabbedSite();

    QMenu* popSee;
    QAction* popDelete;

private:
    TReadingListCommands commands;
    std::function<bool()> isCurrentList;
};
