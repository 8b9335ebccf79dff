#pragma once

#include <functional>
#include <memory>

#include <QColor>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

// A picture animation: shows one frame of a horizontal strip of frames, each as wide as
// the control, and steps to the next frame at its interval while it plays. It owns a timer
// only while it plays with an interval above 0.
class TAnimated : public QWidget {
public:
    explicit TAnimated(QWidget* parent = nullptr);
    ~TAnimated() override;

    const QPixmap& BitMap() const { return bitmap; }
    // Copies the strip; the control takes its height (30 when the strip has none).
    void SetBitMap(const QPixmap& value);
    int FrameCount() const { return frameCount; }
    void SetFrameCount(int value);  // at least 1
    int Frame() const { return frame; }
    // A negative value shows the last frame; others wrap round the frame count.
    void SetFrame(int value);
    int Interval() const { return interval; }
    void SetInterval(int milliseconds);
    bool Play() const { return play; }
    void SetPlay(bool value);
    bool Reverse() const { return reverse; }
    void SetReverse(bool value) { reverse = value; }
    bool Loop() const { return loop; }
    void SetLoop(bool value) { loop = value; }
    // Pixels of this colour show the control's background; an invalid colour means none.
    QColor TransparentColor() const { return transparentColor; }
    void SetTransparentColor(const QColor& value);

    // Called whenever the shown frame changes.
    std::function<void(TAnimated*)> OnChangeFrame;

    // One step of the timer; public so that a test can be the clock.
    void Tick();
    bool HasTimer() const { return timer != nullptr; }

    QSize sizeHint() const override { return {30, 30}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void StartTimer();
    void EndOfRun();

    QPixmap bitmap;
    int frameCount = 1;
    int frame = 0;
    int interval = 0;
    bool play = false;
    bool reverse = false;
    bool loop = true;
    QColor transparentColor;
    std::unique_ptr<QTimer> timer;
};
