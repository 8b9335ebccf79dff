#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

// A transparent button laid over its place on the toolbar picture. It shows nothing of
// its own until a face is drawn on it: the part of a whole-toolbar picture (held down,
// raised, under the pointer) that lies under its bounds. Its owner decides which face
// and when; the button only reports the pointer's moves, presses and releases.
class TPictureButton : public QWidget {
public:
    enum class TFace { Plain, Down, Up, Focus };

    TPictureButton(int tag, QWidget* parent);

    int Tag() const { return tag; }
    TFace Face() const { return face; }
    // Draws face, taken from picture (null for Plain: the toolbar beneath shows).
    void Draw(TFace value, const QImage* picture);

    std::function<void(TPictureButton*)> OnMouseMove;  // moves with no mouse button held
    std::function<void(TPictureButton*)> OnMouseDown;
    std::function<void(TPictureButton*)> OnClick;  // a release over the button
    std::function<void(TPictureButton*)> OnMouseUp;
    std::function<void(TPictureButton*)> OnPaint;  // before the face is painted

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int tag;
    TFace face = TFace::Plain;
    const QImage* picture = nullptr;
    bool painting = false;
};
