#pragma once

#include <QPixmap>
#include <QPushButton>

#include "ui/fixeddialog.h"

// The about box: the program's picture with a close button under it. Typing V, E, M, I, T
// in capitals while it is open shows who made the program and where it runs from; the
// place reached in that sequence is kept as long as the program runs.
class TAboutBox : public TFixedDialog {
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QPushButton* OKButton;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Typed(QChar character);

    QPixmap picture;
};
