#include "ui/recordscrollbar.h"

#include <exception>

#include "core/userinterface.h"
#include "data/dataset.h"

TRecordScrollBar::TRecordScrollBar(TDataSet& dataSet, int largeChange, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), dataSet(dataSet), largeChange(largeChange)
{
    setSingleStep(1);
    setPageStep(largeChange);
    connect(this, &QScrollBar::valueChanged, this, [this](int position) { ScrollBarChange(position); });
    observer = dataSet.AddObserver([this](TDataEvent event) {
        if (event != TDataEvent::RecordChanged)
            UpdateBar();
    });
    UpdateBar();
}

TRecordScrollBar::~TRecordScrollBar()
{
    dataSet.RemoveObserver(observer);
}

void TRecordScrollBar::UpdateBar()
{
    bool wasAttached = attached;
    attached = false;
    try {
        int count = dataSet.RecordCount();
        setVisible(count > 0);
        if (count > 0) {
            setRange(1, count);
            setValue(dataSet.RecNo());
            setPageStep(largeChange);
            tag = value();
        }
    } catch (const std::exception&) {
        Ui().Error("scrollbar1 update error");
    }
    attached = wasAttached;
}

void TRecordScrollBar::ScrollBarChange(int position)
{
    if (!attached)
        return;
    attached = false;
    try {
        if (position == 1)
            dataSet.First();
        else if (position == maximum())
            dataSet.Last();
        else
            dataSet.MoveBy(position - tag);
        tag = position;
    } catch (...) {
        // The record stayed where it was: the bar shows it again.
        attached = true;
        UpdateBar();
        throw;
    }
    attached = true;
}
