// The main window's responsiveness while it grabs a site.
//   bench-ui-latency FOLDER URL DEPTH   starts as vorlan does on FOLDER (ZANVIK_HOME) with
//                                       one schedule entry for URL due now, and lets the
//                                       scheduler grab it
// While the grab runs, a timer on the main thread asks to run every 10 ms and notes how
// late it runs each time. Prints one "name value" line per figure: the lateness
// percentiles in milliseconds, the number of ticks, the grab's seconds and the pages stored.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QTimer>

#include "benchprogram.h"
#include "core/datetime.h"
#include "core/mainthread.h"
#include "data/dmmain.h"
#include "data/table.h"
#include "grab/grabstate.h"
#include "ui/application.h"
#include "ui/browserengine.h"
#include "ui/fmmain.h"
#include "ui/programfonts.h"

namespace {

using Clock = std::chrono::steady_clock;
const std::chrono::milliseconds kTick(10);
const std::chrono::seconds kLongest(600);

void AddDueEntry(TDMMain& data, const std::string& url, int depth)
{
    TTable& station = data.tabStation();
    TDateTime desired = Now() - 1.0 / (24 * 60);
    station.Append();
    station.FieldByName("Index").SetAsDateTime(desired);
    station.FieldByName("URL").SetAsString(url);
    station.FieldByName("Alias").SetAsString("bench");
    station.FieldByName("desireDateTime").SetAsDateTime(desired);
    station.FieldByName("NextDesireDateTime").SetAsDateTime(desired + 1);
    station.FieldByName("Frequency").SetAsString("RdBDaily");
    station.FieldByName("Depth").SetAsInteger(depth);
    station.FieldByName("StatusCode").SetAsInteger(0);
    station.Post();
}

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t at = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

// Arms a 10 ms single shot again and again, and notes how much later than asked each runs
// while the site is being grabbed.
class TLatenessProbe {
public:
    explicit TLatenessProbe(std::function<bool()> over) : over(std::move(over)) {}

    void Start() { Arm(); }
    const std::vector<double>& Lateness() const { return lateness; }
    // From the first tick that saw the grab to the first that saw it over.
    double GrabSeconds() const { return seconds; }

private:
    void Arm()
    {
        due = Clock::now() + kTick;
        QTimer::singleShot(kTick, Qt::PreciseTimer, [this] { Tick(); });
    }
    void Tick()
    {
        double late = std::chrono::duration<double, std::milli>(Clock::now() - due).count();
        bool grabbing = !GrabState().CurrentSiteURL().empty();
        if (grabbing)
            lateness.push_back(late);
        if (grabbing && !began)
            first = Clock::now();
        began = began || grabbing;
        if ((began && !grabbing) || over()) {
            QCoreApplication::quit();
            seconds = began ? std::chrono::duration<double>(Clock::now() - first).count() : 0;
        }
        else
            Arm();
    }

    std::function<bool()> over;
    Clock::time_point due;
    std::vector<double> lateness;
    bool began = false;
    Clock::time_point first;
    double seconds = 0;
};

int Run(int argc, char** argv)
{
    std::string folder = argv[1];
    std::string url = argv[2];
    int depth = std::atoi(argv[3]);
    ::setenv("ZANVIK_HOME", folder.c_str(), 1);
    PrepareBrowserEngine();
    TApplication app(argc, argv);
    SetMainThread();
    UseProgramFonts();
    TBenchProgram program([&](TDMMain& data) { AddDueEntry(data, url, depth); });
    TfmMain& window = program.Window();

    Clock::time_point start = Clock::now();
    TLatenessProbe probe([&] { return Clock::now() - start > kLongest; });
    window.show();
    probe.Start();
    app.exec();

    std::printf("lateness-p50 %.2f\n", Percentile(probe.Lateness(), 0.50));
    std::printf("lateness-p99 %.2f\n", Percentile(probe.Lateness(), 0.99));
    std::printf("lateness-max %.2f\n", Percentile(probe.Lateness(), 1.0));
    std::printf("ticks %zu\n", probe.Lateness().size());
    std::printf("grab-seconds %.2f\n", probe.GrabSeconds());
    std::printf("pages %lld\n", GrabState().PagesStored.load());

    window.close();
    window.WatchDog().WaitFor();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench-ui-latency FOLDER URL DEPTH\n");
        return 2;
    }
    return Run(argc, argv);
}
