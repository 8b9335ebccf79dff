#pragma once

#include <QDialog>

// The small windows' frame: a dialog border with a close box, a fixed client size, the
// program's serif face at 15 px, optionally above other windows, and centred on the screen
// each time it is shown.
class TFixedDialog : public QDialog {
public:
    enum class Placement { Normal, OnTop };

    TFixedDialog(const QString& caption, QSize clientSize, Placement placement, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};
