#pragma once

#include <string>

#include <QLabel>
#include <QPushButton>

#include "ui/fixeddialog.h"

// The site-finished notice: names the site the scheduler has just finished and does not
// wait for the user. One window serves every notice; a later one shows the new site.
class TgrabOkDialog : public TFixedDialog {
public:
    explicit TgrabOkDialog(QWidget* parent = nullptr);

    void ShowSite(const std::string& url);

    QLabel* siteName;
    QPushButton* btnOk;
};
