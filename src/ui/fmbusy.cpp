#include "ui/fmbusy.h"

#include <QApplication>
#include <QScreen>

#include "ui/programfonts.h"

TfmBusy::TfmBusy(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), panel(new QLabel(this))
{
    setWindowTitle("系統忙碌當中");
    setFixedSize(408, 177);
    // A single dark border round the panel.
    setAutoFillBackground(true);
    QPalette border = palette();
    border.setColor(QPalette::Window, Qt::black);
    setPalette(border);
    panel->setGeometry(rect().adjusted(1, 1, -1, -1));
    panel->setAlignment(Qt::AlignCenter);
    panel->setWordWrap(true);
    // A lowered bevel three pixels wide.
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(3);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, QColor(64, 0, 128));
    colours.setColor(QPalette::WindowText, QColor(0, 255, 0));
    panel->setPalette(colours);
    panel->setFont(SerifFont(20));
    panel->setText("正載入網路電話簿   請稍待");
}

TfmBusy::~TfmBusy()
{
    Release();
}

void TfmBusy::ShowBusy(const QString& text)
{
    panel->setText(text);
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    if (!holding) {
        holding = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        grabMouse();
    }
    repaint();
    // Once, so that it paints; the user's input waits until the operation is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfmBusy::HideBusy()
{
    close();
    Release();
}

void TfmBusy::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    Release();
}

void TfmBusy::Release()
{
    if (!holding)
        return;
    holding = false;
    releaseMouse();
    QApplication::restoreOverrideCursor();
}
