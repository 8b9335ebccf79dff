// vorlan-grab: grabs one site into the program folder, for cron jobs and benchmarks.
//   vorlan-grab [--depth N] [--cross] [--quick] [--verbose] URL
// It uses the settings of the folder's "vorlan.ini" (without writing them back), writes
// the log as vorlan does, and shows on standard error the start, the messages and, on a
// terminal, one progress line (--verbose: every status line instead); it prints one
// summary line and exits with the site run's result: 0 done, 1 interrupted, 2 failed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include <QCoreApplication>

#include "app/grabconsole.h"
#include "core/installedfiles.h"
#include "core/log.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "core/quitsignals.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/text.h"
#include "core/thread.h"
#include "core/urldatabase.h"
#include "grab/grabstate.h"
#include "grab/runsite.h"
#include "net/dns.h"

namespace {

struct Options {
    std::string url;
    int depth = -1;  // the settings' default depth
    bool cross = false;
    bool quick = false;
    bool verbose = false;
};

int Usage(const std::string& problem)
{
    std::fprintf(stderr, "vorlan-grab: %s\nusage: vorlan-grab [--depth N] [--cross] [--quick] [--verbose] URL\n",
                 problem.c_str());
    return 64;
}

// Reads the command line; an empty text when it is good, else what is wrong with it.
std::string ReadOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--depth" && i + 1 < argc) {
            long long depth = 0;
            if (!TryToInt(argv[++i], depth) || depth < 0 || depth > 100)
                return "--depth takes a number from 0 to 100";
            options.depth = static_cast<int>(depth);
        } else if (word == "--cross") {
            options.cross = true;
        } else if (word == "--quick") {
            options.quick = true;
        } else if (word == "--verbose") {
            options.verbose = true;
        } else if (!word.empty() && word[0] != '-' && options.url.empty()) {
            options.url = word;
        } else {
            return "unknown argument " + word;
        }
    }
    return options.url.empty() ? "no URL given" : "";
}

// The site run's own thread: the main thread must keep serving the socket events.
class TGrabJob : public TThread, public TGrabScheduler {
public:
    explicit TGrabJob(const Options& options) : options(options) {}
    int Result() const { return result; }

    bool EndRequested() const override { return Terminated(); }
    void RequestEnd() override { Terminate(); }
    void Status(const std::string& text) override
    {
        Synchronize([&] { Ui().Status(text); });
    }

protected:
    void Execute() override
    {
        GrabState().SetCurrentSiteURL(options.url);
        GrabState().SetCurrentAlias(options.url);
        GrabState().SiteStart = Now();
        result = RunSite(options.url, options.depth, options.cross, options.quick, *this);
        GrabState().SetCurrentSiteURL("");
    }

private:
    Options options;
    int result = 2;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SetMainThread();
    Options options;
    std::string problem = ReadOptions(argc, argv, options);
    TGrabConsole console(TGrabConsole::ModeFor(stderr, options.verbose), stderr);
    SetUserInterface(&console);
    MainWindowReady() = true;

    std::unique_ptr<TDNS> hostCache;
    try {
        // A vorlan running on the folder owns its schedule and log: a timed grab fails
        // clearly instead of disturbing it.
        LockProgramFolder();
        PrepareProgramFolder();
        LoadSettings(SettingsFile());
        hostCache = std::make_unique<TDNS>();
        SetHostCache(hostCache.get());
        StartLog();
    } catch (const EProgramFolderInUse& error) {
        std::fprintf(stderr, "vorlan-grab: %s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorlan-grab: cannot use the program folder \"%s\": %s\n", ProgramFolder().c_str(),
                     error.what());
        return 2;
    }
    // Refused only now, so that even a mistyped command leaves the program folder ready.
    if (!problem.empty())
        return Usage(problem);
    if (options.depth < 0)
        options.depth = Settings().idefaultDepth;
    options.cross = options.cross || Settings().bdefaultCross;

    // Ctrl-C stops the site as the stop button would; the summary still comes.
    OnQuitSignal([] { GrabState().StopFlag = true; });
    console.Line("vorlan-grab: 開始下載 " + options.url + " (深度 " + std::to_string(options.depth) + ")");
    console.Start();
    auto start = std::chrono::steady_clock::now();
    TGrabJob job(options);
    job.OnTerminate = [] { QCoreApplication::quit(); };
    job.Start();
    app.exec();
    job.WaitFor();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    ServeMainQueue();
    console.Finish();
    UrlDatabase().ClearAll();
    EndLog();
    SetHostCache(nullptr);
    SetUserInterface(nullptr);
    std::printf("%lld pages stored, %lld bytes, %.2f seconds\n", GrabState().PagesStored.load(),
                GrabState().BytesStored.load(), seconds);
    return job.Result();
}
