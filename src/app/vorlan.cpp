#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "core/installedfiles.h"
#include "core/log.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "core/quitsignals.h"
#include "core/startup.h"
#include "core/urldatabase.h"
#include "data/databaseerror.h"
#include "data/dmmain.h"
#include "net/dns.h"
#include "platform/descriptorlimit.h"
#include "schedule/storeddialaccount.h"
#include "ui/application.h"
#include "ui/browserengine.h"
#include "ui/busythread.h"
#include "ui/fmmain.h"
#include "ui/programfonts.h"
#include "ui/windowui.h"

namespace {

#ifdef ZANVIK_WEBENGINE
const bool kBrowserBuiltIn = true;
#else
const bool kBrowserBuiltIn = false;
#endif

// A failure the user must act on: said on the console and, when there is a screen to
// show it on, in a box.
void Fatal(const std::string& text)
{
    std::fprintf(stderr, "vorlan: %s\n", text.c_str());
    if (QGuiApplication::platformName() != "offscreen")
        QMessageBox::critical(nullptr, "Zanvik", QString::fromStdString(text));
}

}  // namespace

int main(int argc, char** argv)
{
    PrepareBrowserEngine();
    TApplication app(argc, argv);
    SetMainThread();
    UseProgramFonts();
    // A quit closes every window as the user would, so that a dialog waiting for the user
    // does not hold it up. One that comes during the start is kept until the windows exist.
    bool quitRequested = false;
    OnQuitSignal([&quitRequested] {
        quitRequested = true;
        QApplication::closeAllWindows();
    });

    try {
        LockProgramFolder();
        PrepareProgramFolder();
    } catch (const EProgramFolderInUse& error) {
        Fatal(error.what());
        return 1;
    } catch (const std::exception& error) {
        Fatal(FolderProblem(ProgramFolder(), "ZANVIK_HOME", error.what()));
        return 1;
    }
    // The page server may hold thousands of connections, most of them idle until they are
    // dropped; the usual limit of 1024 descriptors would turn real requests away first.
    RaiseDescriptorLimit(65536);

    try {
        // Of the foundation's steps only the registry writes, and they go to the Windows folder.
        StartFoundation(kBrowserBuiltIn);
    } catch (const std::exception& error) {
        Fatal(FolderProblem(WindowsFolder(), "ZANVIK_WINDIR", error.what()));
        return 1;
    }
    std::unique_ptr<TDNS> hostCache;
    try {
        hostCache = std::make_unique<TDNS>();
        SetHostCache(hostCache.get());
        StartLog();
    } catch (const std::exception& error) {
        Fatal(FolderProblem(ProgramFolder(), "ZANVIK_HOME", error.what()));
        return 1;
    }
    TBusyThread busy;
    QApplication::setApplicationName("Zanvik");
    // The installed desktop entry: the desktop shows its name and icon for our windows.
    QGuiApplication::setDesktopFileName("zanvik");

    std::unique_ptr<TDMMain> data;
    try {
        data = std::make_unique<TDMMain>();
        // The phone book is the main window's to open; a missing one stops the start here.
        data->telStation().Open();
    } catch (const EDatabaseError& error) {
        Fatal(error.what());
        return 1;
    }
    SetDMMain(data.get());

    int result = 0;
    {
        TStoredDialAccount account;
        TfmMain window(*data, account);
        window.fmStop();
        TWindowUserInterface windowUi(window, busy);
        SetUserInterface(&windowUi);
        window.show();
        if (quitRequested)
            QTimer::singleShot(0, [] { QApplication::closeAllWindows(); });
        result = app.exec();
        // A close that came while the scheduler was asking could not wait for it; its last
        // hand-overs still reach the windows' interface.
        window.WatchDog().WaitFor();
        SetUserInterface(nullptr);
    }

    ServeMainQueue();  // entries requested just before the close still reach the log
    SetDMMain(nullptr);
    data.reset();
    EndLog();
    SetHostCache(nullptr);
    hostCache.reset();
    UrlDatabase().ClearAll();
    try {
        FinishFoundation();
    } catch (const std::exception& error) {
        Fatal(FolderProblem(ProgramFolder(), "ZANVIK_HOME", error.what()));
        return 1;
    }
    return result;
}
