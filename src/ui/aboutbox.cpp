#include "ui/aboutbox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

#include "core/userinterface.h"
#include "ui/programfonts.h"
#include "ui/systempicture.h"

namespace {

const char kSequence[] = "vemit";
const int kSequenceLength = 5;
// The place in the sequence, from 1; it outlives every about box.
int sequencePosition = 1;

// The area shown when the picture cannot be read.
const QSize kBlankPicture(360, 200);

std::string HiddenMessage()
{
    return "Zanvik\r"
           "離線網頁閱讀程式  Zanvik 開發小組製作\r"
           "\r"
           "執行檔路徑" + QCoreApplication::applicationFilePath().toStdString() + "\r"
           "\r"
           "感謝每一位試用者的意見與耐心\r"
           "本程式使用 Qt、SQLite 與 OpenSSL 製成";
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : TFixedDialog("關於Zanvik", QSize(1, 1), Placement::OnTop, parent), picture(SystemPicture("about.bmp"))
{
    setFont(SansFont(14));
    OKButton = new QPushButton("關閉", this);
    OKButton->resize(90, 30);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { accept(); });
    // The box itself takes what is typed, so that it sees every key; Enter still presses
    // the default button and Escape closes.
    OKButton->setFocusPolicy(Qt::NoFocus);
    QSize area = picture.isNull() ? kBlankPicture : picture.size();
    setFixedSize(area.width(), area.height() + OKButton->height() + 10);
    OKButton->move((area.width() - OKButton->width()) / 2, area.height() + 5);
}

void TAboutBox::paintEvent(QPaintEvent* event)
{
    TFixedDialog::paintEvent(event);
    QPainter painter(this);
    if (!picture.isNull()) {
        painter.drawPixmap(0, 0, picture);
        return;
    }
    painter.setFont(SerifFont(32));
    painter.drawText(QRect(QPoint(0, 0), kBlankPicture), Qt::AlignCenter, "Zanvik");
}

void TAboutBox::keyPressEvent(QKeyEvent* event)
{
    for (QChar character : event->text())
        Typed(character);
    TFixedDialog::keyPressEvent(event);
}

// The expected letter in capitals against the character as typed, so only capitals match.
void TAboutBox::Typed(QChar character)
{
    QChar expected = QChar(kSequence[sequencePosition - 1]).toUpper();
    if (character != expected) {
        sequencePosition = 1;
        return;
    }
    if (++sequencePosition <= kSequenceLength)
        return;
    sequencePosition = 1;
    Ui().Message(HiddenMessage());
}
