#include "ui/paceddisplay.h"

#include <utility>

TPacedDisplay::TPacedDisplay(int intervalMs)
{
    timer.setSingleShot(true);
    timer.setInterval(intervalMs);
    QObject::connect(&timer, &QTimer::timeout, [this] { ShowPending(); });
}

void TPacedDisplay::Show(std::function<void()> change)
{
    pending = std::move(change);
    if (!timer.isActive())
        ShowPending();
}

void TPacedDisplay::ShowPending()
{
    if (!pending)
        return;
    std::function<void()> change = std::move(pending);
    pending = nullptr;
    timer.start();
    change();
}
