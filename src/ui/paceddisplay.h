#pragma once

#include <functional>

#include <QTimer>

// Paces the changes of one control: a change is shown at once when the control has not
// changed for the interval, else when the interval ends, and then only the latest of the
// changes that came meanwhile. So a control that is told many times a second is redrawn
// a few times, and what it shows last is always the last change it was told. Main thread.
class TPacedDisplay {
public:
    explicit TPacedDisplay(int intervalMs);
    TPacedDisplay(const TPacedDisplay&) = delete;
    TPacedDisplay& operator=(const TPacedDisplay&) = delete;

    void Show(std::function<void()> change);

private:
    void ShowPending();

    QTimer timer;  // runs for the interval after a change was shown
    std::function<void()> pending;
};
