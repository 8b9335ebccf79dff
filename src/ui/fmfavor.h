#pragma once

#include <QPushButton>

#include "ui/fixeddialog.h"

class TDataSet;
class TDBEdit;
class TDBLookupComboBox;
class TDBMemo;

// The station dialog: one phone book entry (category, short name, address, description)
// edited in place on the current record of the phone book table, which the caller has put
// into Edit or Insert state. OK closes only when the address and the name are given and
// the address fits its field; Abort always closes, and the caller cancels the record.
// While its close-allowed flag is false the user's own close box and Escape are refused;
// a close made by the program (its quit, a desktop logout) always goes through.
class TfmFavor : public TFixedDialog {
public:
    enum Result { mrOk = QDialog::Accepted, mrAbort = 3 };

    // station: the phone book table; kinds: the category table, listed by its Text and
    // keyed by Kind_Serial. Both must outlive the dialog.
    TfmFavor(TDataSet& station, TDataSet& kinds, QWidget* parent = nullptr);

    bool CloseAllowed() const { return closeAllowed; }

    TDBLookupComboBox* dbCmbKind;
    TDBEdit* dbEdtAlias;
    TDBEdit* dbEdtURL;
    TDBMemo* dbDescript;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BitBtn1Click();
    void BitBtn2Click();
    void NormaliseAddress();
    bool Valid();

    bool closeAllowed = false;
};
