#include "core/busyscope.h"

#include "core/userinterface.h"

TBusyScope::TBusyScope(const std::string& text)
{
    Ui().ShowBusy(text);
}

TBusyScope::~TBusyScope()
{
    Ui().HideBusy();
}
