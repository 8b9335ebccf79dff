#pragma once

class QKeyEvent;
class QScrollBar;
class TDataSet;

// The grid keys of the lists: while a list's record scroll bar is visible, Page Up, Page
// Down, End, Home, Up and Down pressed in its grid go to the bar first. True when that
// moved the current record of dataSet, so the grid must not take the key as well; at
// either end of the list the grid still gets it. Left and Right are never routed.
bool RouteRowKey(const QKeyEvent& event, QScrollBar& bar, const TDataSet& dataSet);
