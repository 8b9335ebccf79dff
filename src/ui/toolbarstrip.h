#pragma once

#include <array>
#include <functional>

#include <QImage>
#include <QWidget>

#include "ui/picturebutton.h"

// The main window's toolbar: the toolbar picture with five picture buttons over its button
// areas (tags 1 to 5). The button of the page that is open is drawn raised, the one under
// the pointer lit, the one held down pressed. Moving the pointer below the toolbar, over
// any window of the program, takes the lit face away again.
class TToolbarStrip : public QWidget {
public:
    static constexpr int Buttons = 5;

    explicit TToolbarStrip(QWidget* parent);
    ~TToolbarStrip() override;

    TPictureButton* PaintBox(int tag) const;
    const QImage& normalImage() const { return normal; }
    int Selected() const { return selected; }
    void SetSelected(int tag);
    int Hovered() const { return hovered; }

    // Installs the hover reset as an application-wide filter of pointer moves.
    void InstallHoverReset();

    // A click on button tag.
    std::function<void(int tag)> OnButtonClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintBoxMouseMove(TPictureButton* button);
    void PaintBoxMouseDown(TPictureButton* button);
    void PaintBoxMouseUp(TPictureButton* button);
    void PaintBoxPaint(TPictureButton* button);
    void DrawPlain(int tag);
    int PictureHeight() const;

    QImage normal;
    QImage down;
    QImage up;
    QImage focus;
    std::array<TPictureButton*, Buttons> buttons{};
    int selected = 0;
    int hovered = 0;
    bool hoverGuard = false;
    bool filtering = false;
};
