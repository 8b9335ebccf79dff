#include "ui/grabdialog.h"

#include "core/datetime.h"
#include "ui/systempicture.h"

namespace {

QLabel* Text(const QString& text, QRect place, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

// A value under its caption, sunken so that it reads as a field; a long address is
// shortened in the middle, and its tip shows it whole.
QLabel* Value(const std::string& text, QRect place, QWidget* parent)
{
    QString whole = QString::fromStdString(text);
    QLabel* label = Text(whole, place, parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setText(label->fontMetrics().elidedText(whole, Qt::ElideMiddle, place.width() - 8));
    label->setToolTip(whole);
    return label;
}

}  // namespace

TGrabDialog::TGrabDialog(const std::string& url, const std::string& desired, QWidget* parent)
    : TFixedDialog("預定抓取時間已過", QSize(333, 202), Placement::OnTop, parent)
{
    Text("網頁位址", QRect(12, 6, 150, 20), this);
    label1 = Value(url, QRect(12, 26, 309, 24), this);
    Text("預定抓取時間", QRect(12, 54, 150, 20), this);
    Label2 = Value(desired, QRect(12, 74, 150, 24), this);
    Text("現在時間", QRect(171, 54, 150, 20), this);
    Label3 = Value(ShortDateTimeText(Now()), QRect(171, 74, 150, 24), this);
    Image1 = new QLabel(this);
    Image1->setGeometry(12, 106, 48, 48);
    Image1->setPixmap(SystemPicture("clock.bmp"));
    Text("何時進行下載?", QRect(72, 118, 249, 24), this);
    btnNow = new QPushButton("立即下載", this);
    btnNow->setGeometry(72, 160, 110, 32);
    btnNow->setDefault(true);
    btnNext = new QPushButton("下次下載", this);
    btnNext->setGeometry(196, 160, 110, 32);
    btnNext->setAutoDefault(false);
    connect(btnNow, &QPushButton::clicked, this, [this] { done(mrYes); });
    connect(btnNext, &QPushButton::clicked, this, [this] { done(mrIgnore); });
}

void TGrabDialog::showEvent(QShowEvent* event)
{
    TFixedDialog::showEvent(event);
    btnNow->setFocus();
}

bool TGrabDialog::Execute()
{
    return exec() == mrYes;
}
