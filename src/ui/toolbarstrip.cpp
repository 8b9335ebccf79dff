#include "ui/toolbarstrip.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "ui/systempicture.h"

namespace {

// The button areas of the toolbar picture.
const QRect kBounds[TToolbarStrip::Buttons] = {
    {13, 1, 50, 61}, {72, 1, 52, 61}, {132, 1, 52, 61}, {191, 1, 56, 61}, {543, 2, 56, 61},
};

const int kWidth = 793;
const int kHeight = 65;

}  // namespace

TToolbarStrip::TToolbarStrip(QWidget* parent)
    : QWidget(parent),
      normal(SystemImage("normal.bmp")),
      down(SystemImage("down.bmp")),
      up(SystemImage("up.bmp")),
      focus(SystemImage("focus.bmp"))
{
    setObjectName("normalImage");
    setFixedSize(kWidth, kHeight);
    for (int tag = 1; tag <= Buttons; ++tag) {
        auto* button = new TPictureButton(tag, this);
        button->setObjectName(QString("PaintBox%1").arg(tag));
        button->setGeometry(kBounds[tag - 1]);
        button->OnMouseMove = [this](TPictureButton* b) { PaintBoxMouseMove(b); };
        button->OnMouseDown = [this](TPictureButton* b) { PaintBoxMouseDown(b); };
        button->OnMouseUp = [this](TPictureButton* b) { PaintBoxMouseUp(b); };
        button->OnPaint = [this](TPictureButton* b) { PaintBoxPaint(b); };
        button->OnClick = [this](TPictureButton* b) {
            if (OnButtonClick)
                OnButtonClick(b->Tag());
        };
        buttons[static_cast<size_t>(tag - 1)] = button;
    }
}

TToolbarStrip::~TToolbarStrip()
{
    if (filtering)
        qApp->removeEventFilter(this);
}

TPictureButton* TToolbarStrip::PaintBox(int tag) const
{
    if (tag < 1 || tag > Buttons)
        return nullptr;
    return buttons[static_cast<size_t>(tag - 1)];
}

void TToolbarStrip::SetSelected(int tag)
{
    if (selected != tag)
        DrawPlain(selected);
    selected = tag;
    if (TPictureButton* button = PaintBox(tag))
        button->update();
}

void TToolbarStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (normal.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    else
        painter.drawImage(0, 0, normal);
}

void TToolbarStrip::DrawPlain(int tag)
{
    if (TPictureButton* button = PaintBox(tag))
        button->Draw(TPictureButton::TFace::Plain, nullptr);
}

void TToolbarStrip::PaintBoxMouseMove(TPictureButton* button)
{
    if (hoverGuard)
        return;
    hoverGuard = true;
    int tag = button->Tag();
    if (hovered != 0 && hovered != selected && hovered != tag)
        DrawPlain(hovered);
    hovered = tag;
    if (tag != selected)
        button->Draw(TPictureButton::TFace::Focus, &focus);
    hoverGuard = false;
}

void TToolbarStrip::PaintBoxMouseDown(TPictureButton* button)
{
    if (selected != 0)
        DrawPlain(selected);
    button->Draw(TPictureButton::TFace::Down, &down);
}

void TToolbarStrip::PaintBoxMouseUp(TPictureButton* button)
{
    // The force-disconnect button opens no page, so it never becomes the raised one.
    if (button->Tag() == Buttons)
        return;
    button->Draw(TPictureButton::TFace::Up, &up);
    selected = button->Tag();
}

void TToolbarStrip::PaintBoxPaint(TPictureButton* button)
{
    if (button->Tag() != Buttons && button->Tag() == selected)
        button->Draw(TPictureButton::TFace::Up, &up);
}

int TToolbarStrip::PictureHeight() const
{
    return normal.isNull() ? height() : normal.height();
}

void TToolbarStrip::InstallHoverReset()
{
    if (filtering)
        return;
    qApp->installEventFilter(this);
    filtering = true;
}

// Every pointer move of the program passes here. It is let through: the control under the
// pointer still sees it.
bool TToolbarStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && hovered != 0 && hovered != selected) {
        auto* move = static_cast<QMouseEvent*>(event);
        if (mapFromGlobal(move->globalPosition()).y() > PictureHeight()) {
            DrawPlain(hovered);
            hovered = 0;
        }
    }
    return QWidget::eventFilter(watched, event);
}
