#include "ui/panelstatusbar.h"

#include <QPainter>

namespace {

// Between two panels, and round each panel's inner rectangle.
const int kGap = 2;
const int kFrame = 1;

}  // namespace

TPanelStatusBar::TPanelStatusBar(std::vector<TPanel> panels, QWidget* parent) : QWidget(parent), panels(std::move(panels))
{
    setAutoFillBackground(true);
}

QRect TPanelStatusBar::PanelRect(int index) const
{
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += panels[static_cast<size_t>(i)].width;
    QRect outer(left, kGap, panels[static_cast<size_t>(index)].width - kGap, height() - kGap);
    return outer.adjusted(kFrame, kFrame, -kFrame, -kFrame);
}

void TPanelStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < PanelCount(); ++i) {
        QRect inner = PanelRect(i);
        QRect frame = inner.adjusted(-kFrame, -kFrame, kFrame - 1, kFrame - 1);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
    }
    painter.end();
    for (int i = 0; i < PanelCount(); ++i)
        if (OnDrawPanel)
            OnDrawPanel(this, panels[static_cast<size_t>(i)].text, PanelRect(i));
}
