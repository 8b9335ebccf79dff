#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "core/quitsignals.h"
#include "core/startup.h"
#include "core/urldatabase.h"
#include "net/dns.h"
#include "platform/profilefile.h"

namespace {

#ifdef ZANVIK_WEBENGINE
const bool kBrowserBuiltIn = true;
#else
const bool kBrowserBuiltIn = false;
#endif

// A failure the user must act on (a folder that cannot be written): said on the console
// and, when there is a screen to show it on, in a box.
void Fatal(const std::string& text)
{
    std::fprintf(stderr, "vorlan: %s\n", text.c_str());
    if (QGuiApplication::platformName() != "offscreen")
        QMessageBox::critical(nullptr, "Zanvik", QString::fromStdString(text));
}

std::string FolderProblem(const std::exception& error)
{
    return "Zanvik cannot use its program folder \"" + ProgramFolder() + "\": " + error.what()
        + "\nMake the folder writable, or set ZANVIK_HOME to a folder that is.";
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetMainThread();

    std::unique_ptr<TDNS> hostCache;
    try {
        StartFoundation(kBrowserBuiltIn);
        hostCache = std::make_unique<TDNS>();
        SetHostCache(hostCache.get());
        StartLog();
    } catch (const std::exception& error) {
        Fatal(FolderProblem(error));
        return 1;
    }
    QApplication::setApplicationName("Zanvik");

    QMainWindow window;
    window.setWindowTitle("Zanvik");
    OnQuitSignal([&window] { window.close(); });
    window.show();
    int result = app.exec();

    ServeMainQueue();  // entries requested just before the close still reach the log
    EndLog();
    SetHostCache(nullptr);
    hostCache.reset();
    UrlDatabase().ClearAll();
    try {
        FinishFoundation();
    } catch (const std::exception& error) {
        Fatal(FolderProblem(error));
        return 1;
    }
    return result;
}
