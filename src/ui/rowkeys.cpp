#include "ui/rowkeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include "data/dataset.h"

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

bool RouteRowKey(const QKeyEvent& event, QScrollBar& bar, const TDataSet& dataSet)
{
    if (!bar.isVisible() || !IsRowKey(event.key()))
        return false;
    int before = dataSet.RecNo();
    QKeyEvent copy(event.type(), event.key(), event.modifiers(), event.text(), event.isAutoRepeat(),
                   static_cast<ushort>(event.count()));
    QCoreApplication::sendEvent(&bar, &copy);
    return dataSet.RecNo() != before;
}
