#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;
class TDataSet;
class TRecordScrollBar;
class TTestGrid;

// Joins a list's grid to its record scroll bar, as every list of the program has them: the
// bar lies over the grid's right edge, inside its frame and down to its horizontal scroll
// bar, covering the grid's own vertical one; while the bar is visible, Page Up, Page Down,
// End, Home, Up and Down pressed in the grid go to the bar first, and the grid gets the key
// only when that did not move the current record (at either end of the list); Left and
// Right are never routed; and the wheel over the rows moves the bar. The bar and the grid
// share one parent. The link belongs to the bar and goes with it.
class TGridRecordBar : public QObject {
public:
    // grid and dataSet must outlive the bar.
    TGridRecordBar(TTestGrid& grid, TRecordScrollBar& bar, const TDataSet& dataSet);

    // Puts the bar over the grid again; the grid's parent calls it after moving the grid.
    void Place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool RouteRowKey(const QKeyEvent& event);

    TTestGrid& grid;
    // Kept from the start: while the window closes, the grid is taken apart before the bar
    // and its viewport's last events still pass here, when the grid answers nothing.
    QWidget* const rows;
    TRecordScrollBar& bar;
    const TDataSet& dataSet;
};
