// Times the log: N entries requested and written, in a fresh program folder under /tmp.
// Prints the whole time and the time of the first and the last thousand entries, whose
// ratio shows whether an entry costs more as the log grows; medians of the runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "core/log.h"
#include "core/mainthread.h"
#include "platform/folders.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    double whole = 0;
    double first = 0;  // the first thousand entries
    double last = 0;   // the last thousand
};

double Seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

double Entries(int from, int to)
{
    auto start = Clock::now();
    for (int i = from; i < to; ++i) {
        TLog::Line("0:下載 http://bench.example/dir" + std::to_string(i % 97) + "/page" + std::to_string(i) + ".htm");
        ServeMainQueue();
    }
    return Seconds(start);
}

Run RunOnce(int count)
{
    std::string folder = std::filesystem::temp_directory_path() / "zanvik-bench-log-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    ::setenv("ZANVIK_HOME", folder.c_str(), 1);
    ForgetFolders();
    StartLog();
    Run run;
    auto start = Clock::now();
    run.first = Entries(0, 1000);
    Entries(1000, count - 1000);
    run.last = Entries(count - 1000, count);
    run.whole = Seconds(start);
    EndLog();
    std::filesystem::remove_all(folder);
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SetMainThread();
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    int count = argc > 2 ? std::atoi(argv[2]) : 10000;
    std::vector<double> whole, first, last;
    for (int i = 0; i < runs; ++i) {
        Run run = RunOnce(count);
        whole.push_back(run.whole);
        first.push_back(run.first);
        last.push_back(run.last);
    }
    std::printf("%d entries: %.3f s\nfirst 1000: %.4f s\nlast 1000: %.4f s\nratio last/first: %.2f (median of %d runs)\n",
                count, Median(whole), Median(first), Median(last), Median(last) / Median(first), runs);
    return 0;
}
