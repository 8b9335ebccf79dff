// Times the search dialog over a large phone book: a search with both boxes empty (every
// row a hit), a search for one name, and a sort of the whole result by name and by
// address, each as the user's click runs it, the grid and the record scroll bar included.
// Run with ZANVIK_HOME pointing at an empty folder (bench/search makes one); the phone
// book is the shipped one with ROWS generated stations added. Prints medians of RUNS, in
// wall-clock time and in the process's processor time.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <QApplication>

#include "core/mainthread.h"
#include "core/paths.h"
#include "data/databasefile.h"
#include "data/dmmain.h"
#include "ui/fmsearch.h"
#include "ui/programfonts.h"
#include "ui/searchhostwithoutpages.h"

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The shipped phone book with count stations added, spread over the ten categories.
void MakeTables(int count)
{
    const std::string seeds = std::string(ZANVIK_SOURCE_DIR) + "/resources/";
    std::string data = JoinPath(ProgramFolder(), "data");
    SeedDatabaseFile(seeds + "kind.sql", JoinPath(data, "kind.db"));
    std::string script = ReadText(seeds + "favor.sql");
    script += "\nWITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(count)
        + ")\nINSERT INTO \"favor\" (\"BSchedule\", \"KIND_SERIAL\", \"ALIAS\", \"URL\", \"DESCRIPTION\")\n"
          "SELECT 0, i % 10 + 1, '測試站台' || i, 'http://www' || i || '.bench.example.com.tw/', '' FROM n;\n";
    ForceFolderOf(JoinPath(data, "favor.db"));
    CreateDatabaseFile(JoinPath(data, "favor.db"), script);
}

struct TTimes {
    double wall = 0;  // ms
    double cpu = 0;   // ms of the process's processor time: the figure on a busy machine
};

double CpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double MedianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of runs of step, each after prepare (not timed).
TTimes Median(int runs, const std::function<void()>& step, const std::function<void()>& prepare = {})
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        if (prepare) {
            prepare();
            QApplication::processEvents();
        }
        double cpuStart = CpuMs();
        auto start = std::chrono::steady_clock::now();
        step();
        QApplication::processEvents();  // the grid paints its rows
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(CpuMs() - cpuStart);
    }
    return {MedianOf(wall), MedianOf(cpu)};
}

void Print(const std::string& what, TTimes times)
{
    std::printf("%s: %.1f ms (processor %.1f ms)\n", what.c_str(), times.wall, times.cpu);
}

void Search(TfmSearch& dialog, const QString& alias)
{
    dialog.edtAlias->setText(alias);
    dialog.edtURL->clear();
    dialog.btnOkClick();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetMainThread();
    UseProgramFonts();
    int runs = argc > 1 ? std::atoi(argv[1]) : 7;
    int count = argc > 2 ? std::atoi(argv[2]) : 100000;
    if (runs < 1 || count < 1) {
        std::fprintf(stderr, "usage: bench-search [RUNS [ROWS]]\n");
        return 2;
    }
    MakeTables(count);
    TDMMain data;
    TSearchHostWithoutPages host(data);
    TfmSearch dialog(data, host);
    dialog.show();
    QApplication::processEvents();

    TTimes all = Median(runs, [&] { Search(dialog, ""); });
    int hits = dialog.Query1().RecordCount();
    // Each sort starts from the unsorted result of a new search.
    auto searchAll = [&] { Search(dialog, ""); };
    TTimes byName = Median(runs, [&] { dialog.TestGrid1ColumnClick(1); }, searchAll);
    TTimes byAddress = Median(runs, [&] { dialog.TestGrid1ColumnClick(2); }, searchAll);
    TTimes one = Median(runs, [&] { Search(dialog, "測試站台4242"); });
    int oneHits = dialog.Query1().RecordCount();
    if (hits < count || oneHits < 1) {
        std::fprintf(stderr, "wrong hits: %d of at least %d, %d for one name\n", hits, count, oneHits);
        return 1;
    }
    std::printf("phone book of %d rows, median of %d runs\n", hits, runs);
    Print("search, both boxes empty (" + std::to_string(hits) + " hits)", all);
    Print("sort of that result by name", byName);
    Print("sort of that result by address", byAddress);
    Print("search for one name (" + std::to_string(oneHits) + " hits)", one);
    return 0;
}
