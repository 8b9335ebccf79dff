#pragma once

#include <functional>
#include <memory>
#include <string>

#include "schedule/dialaccount.h"

class TBusyThread;
class TDMMain;
class TDNS;
class TfmMain;
class TWindowUserInterface;

// vorlan's start in a benchmark's own process, on the program folder $ZANVIK_HOME: the
// foundation, the host cache, the log, the tables and the main window with its interface.
// beforeWindow may change the tables before the window reads them. The page server takes
// a free port, so a running vorlan does not disturb the figures. The application object
// must exist first.
class TBenchProgram {
public:
    explicit TBenchProgram(const std::function<void(TDMMain&)>& beforeWindow = {});
    ~TBenchProgram();
    TBenchProgram(const TBenchProgram&) = delete;
    TBenchProgram& operator=(const TBenchProgram&) = delete;

    TDMMain& Data() { return *data; }
    TfmMain& Window() { return *window; }

private:
    TNoDialAccount account;
    std::unique_ptr<TDNS> hostCache;
    std::unique_ptr<TBusyThread> busy;
    std::unique_ptr<TDMMain> data;
    std::unique_ptr<TfmMain> window;
    std::unique_ptr<TWindowUserInterface> windowUi;
};
