// The main window's lists with a large schedule.
//   bench-ui-lists fill FOLDER COUNT   writes COUNT schedule entries into FOLDER/data/station.db
//   bench-ui-lists run FOLDER [REPEAT] starts as vorlan does on FOLDER (ZANVIK_HOME), then
//                                      times the schedule page's operations REPEAT times
// "run" prints one "name milliseconds" line per figure: the time from the process's start
// (and from main) until the window is ready for input, and the median of each operation.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QTimer>
#include <unistd.h>

#include "benchprogram.h"
#include "core/datetime.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "data/dmmain.h"
#include "data/sqliteconnection.h"
#include "data/table.h"
#include "ui/application.h"
#include "ui/browserengine.h"
#include "ui/categorytabs.h"
#include "ui/fmmain.h"
#include "ui/programfonts.h"
#include "ui/schedulepage.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Milliseconds since the kernel started this process (10 ms steps).
double SinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the command name in parentheses; the start time is field 22.
    std::string rest = line.substr(line.rfind(')') + 2);
    unsigned long long start = 0;
    size_t at = 0;
    for (int field = 3; field <= 22; ++field) {
        size_t end = rest.find(' ', at);
        if (field == 22)
            start = std::stoull(rest.substr(at, end - at));
        at = end + 1;
    }
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    return (uptime - static_cast<double>(start) / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

int Fill(const std::string& folder, int count)
{
    ::setenv("ZANVIK_HOME", folder.c_str(), 1);
    { TDMMain create; }  // makes station.db and see.db
    TSqliteConnection station(JoinPath(folder, "data/station.db"), "station");
    const std::string sql =
        "INSERT INTO station (\"Index\", desireDateTime, StatusCode, NextDesireDateTime, URL, Alias, Frequency, "
        "DayType, Depth, QuickMode, Cross, kind_serial) VALUES (?, ?, ?, ?, ?, ?, 'RdBDaily', 0, 2, 0, 0, ?)";
    station.Exec("BEGIN");
    TDateTime base = Today() + 2;
    for (int i = 0; i < count; ++i) {
        TSqliteStatement insert = station.Prepare(sql);
        TDateTime desired = base + (i % 1440) / 1440.0;
        insert.Bind(1, DateTimeToText(EncodeDate(2001, 1, 1) + i / 86400.0));
        insert.Bind(2, DateTimeToText(desired));
        insert.Bind(3, static_cast<long long>(i % 4));
        insert.Bind(4, DateTimeToText(desired + 1));
        insert.Bind(5, "http://www.site" + std::to_string(i * 7919 % count) + ".example/");
        insert.Bind(6, "網站 " + std::to_string(i * 104729 % count));
        insert.Bind(7, static_cast<long long>(i % 10 + 1));
        insert.Step();
    }
    station.Exec("COMMIT");
    return 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The time of one operation on the window, until it has been painted.
double Timed(TfmMain& window, const std::function<void()>& operation)
{
    Clock::time_point start = Clock::now();
    operation();
    window.repaint();
    return Milliseconds(start);
}

int Run(int argc, char** argv, Clock::time_point mainStart)
{
    std::string folder = argv[2];
    int repeat = argc > 3 ? std::atoi(argv[3]) : 9;
    ::setenv("ZANVIK_HOME", folder.c_str(), 1);
    PrepareBrowserEngine();  // the main window's browser page may start the web engine
    TApplication app(argc, argv);
    SetMainThread();
    UseProgramFonts();
    TBenchProgram program;
    TDMMain& data = program.Data();
    TfmMain& window = program.Window();
    window.show();
    bool ready = false;
    WaitOnMain([&] { return window.Activated(); });
    QTimer::singleShot(0, [&] { ready = true; });
    WaitOnMain([&] { return ready; });
    std::printf("ready-from-process-start %.0f\n", SinceProcessStart());
    std::printf("ready-from-main %.0f\n", Milliseconds(mainStart));
    std::printf("schedule-entries %d\n", data.tabStation().RecordCount());

    std::vector<double> show, toCategory, toAll, sort;
    TSchedulePage& page = *window.panSchedule;
    for (int i = 0; i < repeat; ++i) {
        window.PaintBoxClick(1);
        window.repaint();
        show.push_back(Timed(window, [&] { window.PaintBoxClick(2); }));
        toCategory.push_back(Timed(window, [&] { page.TabSet()->setCurrentIndex(i % 10 + 1); }));
        toAll.push_back(Timed(window, [&] { page.TabSet()->setCurrentIndex(0); }));
        sort.push_back(Timed(window, [&] { page.Grid()->OnColumnClick(page.Grid(), 1, Qt::LeftButton, {}); }));
    }
    std::printf("show-schedule-page %.1f\n", Median(show));
    std::printf("tab-to-one-category %.1f\n", Median(toCategory));
    std::printf("tab-back-to-all %.1f\n", Median(toAll));
    std::printf("sort-by-name %.1f\n", Median(sort));

    window.close();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Clock::time_point mainStart = Clock::now();
    std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "fill" && argc > 3)
        return Fill(argv[2], std::atoi(argv[3]));
    if (mode == "run")
        return Run(argc, argv, mainStart);
    std::fprintf(stderr, "usage: bench-ui-lists fill FOLDER COUNT | run FOLDER [REPEAT]\n");
    return 2;
}
