// Times the crawl URL lists: N distinct URLs through AddPending, then TakeFirst until
// the pending list is empty. Prints one line per size; the figure is the median of runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/urldatabase.h"

namespace {

double RunOnce(int count)
{
    std::vector<std::string> urls;
    urls.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        urls.push_back("http://bench.example/dir" + std::to_string(i % 97) + "/page" + std::to_string(i) + ".htm");
    TURL_database lists;
    auto start = std::chrono::steady_clock::now();
    for (const std::string& url : urls)
        lists.AddPending(url, 2);
    size_t taken = 0;
    while (!lists.TakeFirst().empty())
        ++taken;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (taken != urls.size() || lists.KnownCount() != urls.size()) {
        std::fprintf(stderr, "wrong counts: took %zu of %zu\n", taken, urls.size());
        std::exit(1);
    }
    return seconds;
}

double Median(int count, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(RunOnce(count));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    // The small run takes milliseconds, so it gets more repetitions against scheduling noise.
    double small = Median(10000, 3 * runs);
    double large = Median(100000, runs);
    std::printf("10000 urls: %.4f s\n100000 urls: %.4f s\nratio: %.1f (median of %d runs)\n", small, large,
                large / small, runs);
    return 0;
}
