#include "ui/fmfavor.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStyle>

#include "core/siteaddress.h"
#include "core/userinterface.h"
#include "data/dataset.h"
#include "ui/addressfits.h"
#include "ui/dbedit.h"
#include "ui/dblookupcombobox.h"
#include "ui/dbmemo.h"

namespace {

QLabel* Caption(const QString& text, int top, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(24, top, 80, 28);
    return label;
}

}  // namespace

TfmFavor::TfmFavor(TDataSet& station, TDataSet& kinds, QWidget* parent)
    : TFixedDialog("站台管理", QSize(641, 317), Placement::OnTop, parent)
{
    Caption("站台分類", 16, this);
    dbCmbKind = new TDBLookupComboBox(station, "KIND_SERIAL", kinds, "Kind_Serial", "Text", this);
    dbCmbKind->setGeometry(108, 16, 200, 28);
    Caption("站台簡稱", 56, this);
    dbEdtAlias = new TDBEdit(station, "ALIAS", this);
    dbEdtAlias->setGeometry(108, 56, 320, 28);
    Caption("網頁位址", 96, this);
    // No limit of the box's own: an address that does not fit is refused on OK, so that
    // it is never stored cut.
    dbEdtURL = new TDBEdit(station, "URL", this);
    dbEdtURL->SetMaxLength(0);
    dbEdtURL->setGeometry(108, 96, 509, 28);
    dbEdtURL->installEventFilter(this);
    Caption("網站簡介", 136, this);
    dbDescript = new TDBMemo(station, "DESCRIPTION", this);
    dbDescript->setGeometry(108, 136, 509, 112);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "確定", this);
    BitBtn1->setGeometry(401, 266, 100, 34);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "放棄", this);
    BitBtn2->setGeometry(517, 266, 100, 34);
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

void TfmFavor::showEvent(QShowEvent* event)
{
    TFixedDialog::showEvent(event);
    dbCmbKind->setFocus();
}

bool TfmFavor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dbEdtURL && event->type() == QEvent::FocusOut)
        NormaliseAddress();
    return TFixedDialog::eventFilter(watched, event);
}

// Any spelling of the prefix "http://" or "https://" becomes lower case, and an address
// without one gains "http://"; the rest stays as typed, since paths and queries are
// case-sensitive.
void TfmFavor::NormaliseAddress()
{
    QString typed = dbEdtURL->text();
    QString kept = QString::fromStdString(NormalizeSiteAddress(typed.toStdString()));
    if (kept != typed)
        dbEdtURL->setText(kept);
}

bool TfmFavor::Valid()
{
    bool noAddress = dbEdtURL->text().isEmpty();
    bool noName = dbEdtAlias->text().isEmpty();
    if (noAddress && noName) {
        Ui().Warning("請輸入網頁位址和網站名稱");
        return false;
    }
    if (noAddress) {
        Ui().Warning("請輸入網頁位址");
        return false;
    }
    if (noName) {
        Ui().Warning("請輸入網站名稱");
        return false;
    }
    return AddressFits(*dbEdtURL);
}

void TfmFavor::BitBtn1Click()
{
    closeAllowed = false;
    NormaliseAddress();
    if (!Valid())
        return;
    closeAllowed = true;
    done(mrOk);
}

void TfmFavor::BitBtn2Click()
{
    closeAllowed = true;
    done(mrAbort);
}

void TfmFavor::reject()
{
    if (closeAllowed)
        TFixedDialog::reject();
}

void TfmFavor::closeEvent(QCloseEvent* event)
{
    if (!closeAllowed && event->spontaneous()) {
        event->ignore();
        return;
    }
    if (isVisible())
        done(QDialog::Rejected);
    event->accept();
}
