#pragma once

#include <string>

#include <QLabel>
#include <QPushButton>

#include "ui/fixeddialog.h"

// The warning dialog of the grab threads: a caption and a line of text set by the caller,
// and OK.
class TwarnDialog : public TFixedDialog {
public:
    explicit TwarnDialog(QWidget* parent = nullptr);

    // Modal waits for OK; otherwise the window stays up on its own and the call returns.
    void Show(const std::string& text, const std::string& title, bool modal);

    QLabel* Label1;
    QPushButton* btnOk;
};
