#include "ui/gridrecordbar.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWheelEvent>

#include "data/dataset.h"
#include "ui/recordscrollbar.h"
#include "ui/testgrid.h"

namespace {

bool IsRowKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

}  // namespace

TGridRecordBar::TGridRecordBar(TTestGrid& grid, TRecordScrollBar& bar, const TDataSet& dataSet)
    : QObject(&bar), grid(grid), rows(grid.viewport()), bar(bar), dataSet(dataSet)
{
    grid.installEventFilter(this);
    rows->installEventFilter(this);
    bar.raise();
    Place();
}

void TGridRecordBar::Place()
{
    QRect area = rows->geometry().translated(grid.pos());
    int width = bar.sizeHint().width();
    int top = grid.y() + grid.frameWidth();
    int right = grid.geometry().right() - grid.frameWidth();
    bar.setGeometry(right - width + 1, top, width, area.bottom() - top + 1);
}

bool TGridRecordBar::RouteRowKey(const QKeyEvent& event)
{
    if (!bar.isVisible() || !IsRowKey(event.key()))
        return false;
    int before = dataSet.RecNo();
    QKeyEvent copy(event.type(), event.key(), event.modifiers(), event.text(), event.isAutoRepeat(),
                   static_cast<ushort>(event.count()));
    QCoreApplication::sendEvent(&bar, &copy);
    return dataSet.RecNo() != before;
}

bool TGridRecordBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &grid && event->type() == QEvent::KeyPress)
        return RouteRowKey(*static_cast<QKeyEvent*>(event));
    if (watched == rows) {
        if (event->type() == QEvent::Resize)
            Place();
        // The wheel moves through the records, as the bar beside the rows does.
        if (event->type() == QEvent::Wheel && bar.isVisible()) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->angleDelta().y() != 0) {
                QCoreApplication::sendEvent(&bar, wheel);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
