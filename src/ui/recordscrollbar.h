#pragma once

#include <QScrollBar>

class TDataSet;

// The record scroll bar laid over a grid's right edge: its positions are the record
// numbers of the data set (1 to the record count), and moving it moves the current
// record. It is hidden while the data set has no record, and it follows the current
// record wherever that moves. Its tag holds the position last used.
class TRecordScrollBar : public QScrollBar {
public:
    // dataSet must outlive the bar. largeChange: the records a page step moves.
    TRecordScrollBar(TDataSet& dataSet, int largeChange, QWidget* parent);
    ~TRecordScrollBar() override;

    int Tag() const { return tag; }
    void SetTag(int value) { tag = value; }

    // Range, position and visibility from the data set, with the change handler detached.
    void UpdateBar();

private:
    void ScrollBarChange(int position);

    TDataSet& dataSet;
    int largeChange;
    int tag = 0;
    bool attached = true;
    int observer = 0;
};
