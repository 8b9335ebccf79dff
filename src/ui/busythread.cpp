#include "ui/busythread.h"

#include "ui/fmbusy.h"

TBusyThread::TBusyThread() : window(std::make_unique<TfmBusy>())
{
}

TBusyThread::~TBusyThread()
{
    window->HideBusy();
}

void TBusyThread::Show(const std::string& text)
{
    texts.push_back(text);
    window->ShowBusy(QString::fromStdString(text));
}

void TBusyThread::Hide()
{
    if (texts.empty())
        return;
    texts.pop_back();
    if (texts.empty())
        window->HideBusy();
    else
        window->ShowBusy(QString::fromStdString(texts.back()));
}

std::string TBusyThread::Text() const
{
    return texts.empty() ? std::string() : texts.back();
}
