#include "ui/application.h"

#include <exception>

#include "core/userinterface.h"
#include "data/databaseerror.h"

namespace {

TApplication::TExceptionHook& Hook()
{
    static TApplication::TExceptionHook hook;
    return hook;
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
}

void TApplication::SetExceptionHook(TExceptionHook hook)
{
    Hook() = std::move(hook);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EAbort&) {
    } catch (const std::exception& error) {
        Report(receiver, error.what());
    } catch (...) {
        Report(receiver, "未知的錯誤");
    }
    return false;
}

void TApplication::Report(QObject* sender, const std::string& message)
{
    // The report itself must not fail the event loop again.
    try {
        if (Hook())
            Hook()(sender, message);
        else
            Ui().Error(message);
    } catch (...) {
    }
}
