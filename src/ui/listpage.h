#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QWidget>

#include "ui/testgrid.h"

class QMenu;
class TCategoryTabs;
class TGridRecordBar;
class TRecordScrollBar;
class TTable;

// What one list page is made of: the names of its controls, the grid's columns and
// scroll bars, the columns that sort, and the record scroll bar's large change.
struct TListPageSetup {
    std::string pageName;       // "panSchedule"
    std::string gridName;       // "dbgrid2"
    std::string scrollBarName;  // "ScrollBar2"
    std::string tabSetName;     // "TabSet2"
    std::vector<TGridColumn> columns;
    TScrollStyle gridScrollBars = TScrollStyle::ssVertical;
    int nameColumn = 1;     // sorts by "alias1" / "alias2"
    int addressColumn = 2;  // sorts by "url1" / "url2"
    int largeChange = 12;
    bool topAfterTabChange = false;  // the record scroll bar goes back to 1 after a tab change
    int footerHeight = 0;            // room under the tab set for a control of the page's own
};

// A list page of the main window: a data grid over one table, the record scroll bar over
// the grid's right edge and the category tab set under it, with the mechanics the three
// lists share. A category tab filters the table to its category; a click on the name or
// the address title sorts by it, ascending and descending in turn; the keys that move
// between rows go through the record scroll bar; a double-click opens the row's site.
class TListPage : public QWidget {
public:
    TListPage(TTable& table, const TListPageSetup& setup, QWidget* parent);
    ~TListPage() override;

    TTable& Table() const { return table; }
    TTestGrid* Grid() const { return grid; }
    TRecordScrollBar* ScrollBar() const { return scrollBar; }
    TCategoryTabs* TabSet() const { return tabSet; }

    // Selects tab 0; a tab that changes runs the tab change.
    void ShowAllCategories();
    // The category of a new row: the selected tab, or 1 while all are shown.
    int NewRowCategory() const;

    // The grid's double-click with the row's "url", when it has one.
    std::function<void(const std::string& url)> OnOpenSite;

protected:
    // The page's popup menu, on the page and on its grid, where the pointer is.
    void UsePopup(QMenu* menu);
    // The room under the tab set (footerHeight high).
    QRect Footer() const;

    void resizeEvent(QResizeEvent* event) override;

private:
    void TabSetChange(int tab);
    void GridColumnClick(int column);
    void GridDblClick();

    TTable& table;
    TListPageSetup setup;
    TTestGrid* grid;
    TRecordScrollBar* scrollBar;
    TCategoryTabs* tabSet;
    TGridRecordBar* barLink;  // owned by the bar
};
