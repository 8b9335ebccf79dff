#pragma once

#include <QLabel>
#include <QWidget>

// The busy window: a borderless window over which one coloured panel says what the
// program is doing while a long operation runs on the main thread. While it is up it
// holds the mouse and the application shows the wait pointer; hiding it, by any path,
// gives both back.
class TfmBusy : public QWidget {
public:
    explicit TfmBusy(QWidget* parent = nullptr);
    ~TfmBusy() override;

    QLabel* panBusy() const { return panel; }

    // Takes the mouse, sets the wait pointer, shows text, and paints at once.
    void ShowBusy(const QString& text);
    void HideBusy();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void Release();

    QLabel* panel;
    bool holding = false;
};
