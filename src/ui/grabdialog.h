#pragma once

#include <string>

#include <QLabel>
#include <QPushButton>

#include "ui/fixeddialog.h"

// The missed-time dialog: the scheduler found an entry whose time has passed and asks
// whether to grab it now or at its next time.
class TGrabDialog : public TFixedDialog {
public:
    enum Result { mrYes = QDialog::Accepted, mrIgnore = 5 };

    // url and desired: the entry's address and due time as the user reads them.
    TGrabDialog(const std::string& url, const std::string& desired, QWidget* parent = nullptr);

    // Shown modally: true for "立即下載", false for "下次下載" or a closed window.
    bool Execute();

    QLabel* label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Image1;
    QPushButton* btnNow;
    QPushButton* btnNext;

protected:
    void showEvent(QShowEvent* event) override;
};
