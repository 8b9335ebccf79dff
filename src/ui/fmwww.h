#pragma once

#include <string>
#include <vector>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "ui/fixeddialog.h"

class TDBCheckBox;
class TDBEdit;
class TDBLookupComboBox;
class TDMMain;
class TRadioGroup;
class TUpDown;

// The schedule dialog: one schedule entry, the current record of the data module's
// station table, which the caller has put into Insert or Edit state and posts or cancels
// afterwards. The site tab edits the short name, the address and the category through
// data-bound controls; the settings tab holds the repetition, the time, the depth, the
// cross-site switch and the download mode, which OK writes into the record together with
// the entry's key and its two due moments. OK closes only when the entry is complete.
//
// A caller runs Prepare before each showing; for an existing entry it then sets the
// repetition, time, depth and mode controls from the record.
class TfmWWW : public TFixedDialog {
public:
    // data must outlive the dialog.
    explicit TfmWWW(TDMMain& data, QWidget* parent = nullptr);

    // The site tab in front with the focus on the short name; the repetition daily on
    // today's date and the current time, full download.
    void Prepare();

    QTabWidget* TabControl1;
    QWidget* PanStation;
    QWidget* PanSetup;

    TDBEdit* dbEdtAlias;
    TDBEdit* dbEdtURL;
    TDBLookupComboBox* dbCmbType;

    QRadioButton* RdBDaily;
    QRadioButton* RdBWeekly;
    QComboBox* CmBWeekly;
    QRadioButton* RdBMonthly;
    QLineEdit* edtMonthly;
    QRadioButton* RdBOther;
    QLineEdit* edtOther;   // month
    QLineEdit* edtOther1;  // day of that month
    QLineEdit* edtTime;    // hour
    QLineEdit* edtTime1;   // minute

    QLineEdit* EdtLayout;  // depth
    TUpDown* UDLayout;
    TDBCheckBox* DBCheckBox1;
    TRadioGroup* RdGMode;  // 0 quick, 1 full
    QToolButton* btnHelpMode;
    QToolButton* btnHelpCross;
    QToolButton* btnHelpLayout;

    QPushButton* BtnOK;
    QPushButton* BtnCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A number box with its range and the name the warnings give it.
    struct TNumberField {
        QLineEdit* box;
        int min;
        int max;
        const char* name;
    };

    void MakeStationPanel(TDMMain& data);
    void MakeSetupPanel();
    void MakeFrequencyGroup(QWidget* panel);
    void MakeOtherGroup(QWidget* panel);
    QLineEdit* NumberBox(QWidget* parent, int min, int max, const char* name);
    QToolButton* HelpButton(QWidget* parent, const char* text);

    void RepetitionClick();
    void edtOtherChange();
    TNumberField* NumberFieldOf(const QObject* box);
    void KeepInRange(TNumberField& field);
    void NormaliseAddress();

    void BtnOKClick();
    bool Complete();
    bool SettingsGiven();
    bool Refuse(const std::string& warning, QWidget* box);
    void ShowBox(QWidget* box);
    std::string FrequencyText() const;
    int DayType() const;
    void WriteEntry();

    TDMMain& data;
    std::vector<TNumberField> numbers;
};
