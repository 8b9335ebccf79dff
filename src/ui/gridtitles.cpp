#include "ui/gridtitles.h"

#include <QPainter>

TGridTitles::TGridTitles(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
}

void TGridTitles::SetInfoTip(int section, bool value)
{
    if (value)
        infoTipSections.insert(section);
    else
        infoTipSections.erase(section);
    viewport()->update();
}

void TGridTitles::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!InfoTip(logicalIndex)) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    option.textAlignment = Qt::Alignment(model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole).toInt());
    QColor tip = palette().color(QPalette::ToolTipBase);
    option.palette.setColor(QPalette::Button, tip);
    option.palette.setColor(QPalette::Window, tip);
    option.palette.setColor(QPalette::ButtonText, palette().color(QPalette::ToolTipText));
    painter->save();
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();
}
