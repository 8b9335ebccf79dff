#include "ui/fixeddialog.h"

#include <QScreen>

#include "ui/programfonts.h"

TFixedDialog::TFixedDialog(const QString& caption, QSize clientSize, Placement placement, QWidget* parent)
    : QDialog(parent)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (placement == Placement::OnTop)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setWindowTitle(caption);
    setFont(SerifFont(15));
    setFixedSize(clientSize);
}

void TFixedDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}
