#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

#include "schedule/dialcontrol.h"
#include "schedule/storeddialaccount.h"
#include "ui/radiogroup.h"

// The options page of the main window: the grab limits, the reminders, the defaults of a
// new schedule entry, the browser choice, the kind of Internet connection with the
// dial-up account and its test dial, and the log viewer. Each change goes into the
// settings at once; the dial-up account goes into the "RAS" section of vorlan.ini at once.
// The main window fills the page from the settings when it is made and copies the page
// back when it is destroyed.
class TSetupPage : public QWidget {
public:
    explicit TSetupPage(QWidget* parent = nullptr);

    // The main window's creation: every control from the settings. In dial-up mode this
    // also checks the dial-up profiles and loads the account fields.
    void FillFromSettings();
    // The main window's destruction: the browser choice, the limits and the connection kind.
    void SaveToSettings();

    QSpinBox* spinQuota;
    QSpinBox* SpinMaxSiteTime;
    QSpinBox* spinMaxFileSize;
    QToolButton* SpeedButton2;
    QCheckBox* chkRemindLoad;
    QCheckBox* chkRemindFetchOver;
    QSpinBox* spinDefaultDepth;
    QCheckBox* chkCross;
    QPushButton* BitBtn1;

    TRadioGroup* RadioGroup1;  // item 0 "使用內建的瀏覽器", 1 "使用我原來的瀏覽器"
    QRadioButton* rdbLan;
    QRadioButton* rdbDial;
    QWidget* panDial;
    QLineEdit* edtUsername;
    QLineEdit* edtPassword;
    QLineEdit* edtTelephone;
    QPushButton* BitBtn5;
    QToolButton* SpeedButton4;

private:
    void MakeLeftColumn(const QIcon& info);
    void MakeRightColumn(const QIcon& info);
    void MakeDialPanel(QWidget* parent);

    void RadioGroup1Click(int item);
    void SpeedButton2Click();
    void BitBtn1Click();
    void SpeedButton4Click();
    void rdbLanClick();
    void rdbDialClick();
    void CheckDialUpProfiles();
    void LoadAccountFields();
    void edtUsernameChange();
    void BitBtn5Click();

    // The test dial exchanges with the dial program as the scheduler does, one exchange
    // at a time in the process, on the account as stored from the three fields.
    TStoredDialAccount storedAccount;
    TDialControl dialControl;
    bool testDialing = false;
};
