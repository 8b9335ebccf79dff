#include "benchprogram.h"

#include "core/log.h"
#include "core/startup.h"
#include "data/dmmain.h"
#include "data/table.h"
#include "net/dns.h"
#include "server/pageserver.h"
#include "ui/busythread.h"
#include "ui/fmmain.h"
#include "ui/windowui.h"

TBenchProgram::TBenchProgram(const std::function<void(TDMMain&)>& beforeWindow)
{
    StartFoundation(false);
    hostCache = std::make_unique<TDNS>();
    SetHostCache(hostCache.get());
    StartLog();
    busy = std::make_unique<TBusyThread>();
    data = std::make_unique<TDMMain>();
    data->telStation().Open();
    if (beforeWindow)
        beforeWindow(*data);
    window = std::make_unique<TfmMain>(*data, account);
    window->PageServer().TCPServer1.Port = std::to_string(0);  // a literal trips a false g++ 12 warning
    window->fmStop();
    windowUi = std::make_unique<TWindowUserInterface>(*window, *busy);
    SetUserInterface(windowUi.get());
}

// As in vorlan: the interface and the log end before the window goes.
TBenchProgram::~TBenchProgram()
{
    SetUserInterface(nullptr);
    EndLog();
    SetHostCache(nullptr);
}
