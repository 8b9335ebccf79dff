// Times the link scanner: generates a large HTML page full of tags and links and a large
// style sheet full of rules and url()s in a fresh temporary program folder, scans each
// several times with a sink that counts the links, and prints the median speeds in MB/s,
// by the clock and by the scanning thread's own processor time (on a machine shared with
// other work the clock also counts the time the thread waited for a processor). The
// counts are checked against what was written.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "core/mainthread.h"
#include "grab/linkscanner.h"

namespace {

constexpr size_t LinksPerRow = 4;

// One table row: a background, a hyperlink, a picture with its alt text and a frame, plus
// tags and attributes without links, a query link and a fragment link that are dropped,
// and Big5 text.
std::string Row(int i)
{
    std::string n = std::to_string(i);
    return "<tr class=\"row\"><td background=\"bg/tile" + std::to_string(i % 13) + ".gif\" width=120>"
           "<a href=\"dir" + std::to_string(i % 31) + "/page" + n + ".htm\" target=_top>Page " + n +
           " \xa4\xa4\xa4\xe5\xba\xf4\xad\xb6</a></td>\r\n"
           "<td><img src=\"img/pic" + n + ".jpg\" alt=\"picture " + n + "\" width=160 height=90 border=0>"
           "<font face=\"Times New Roman\" size=2>Some text about item " + n + ", with more words.</font>"
           "</td>\r\n<td><a href=\"cgi-bin/query.cgi?item=" + n + "\">query</a> <a href=\"#top\">top</a>"
           "<iframe src=frames/f" + n + ".htm></iframe></td></tr>\r\n";
}

// One block of rules: a picture without quotes, one in double quotes, a font in single
// quotes, and besides them a query and a fragment that are dropped, strings, a comment
// and other functions.
std::string Rules(int i)
{
    std::string n = std::to_string(i);
    return "/* Section " + n + ": url(commented.png) */\n"
           ".item-" + n + ", .item-" + n + ":hover > a { color: #333; margin: 0 auto; "
           "font-family: \"Noto Sans TC\", Arial, sans-serif; }\n"
           ".item-" + n + " .icon { background: url(img/icon-" + std::to_string(i % 97) + ".png) no-repeat 0 0; "
           "width: 16px; height: 16px; }\n"
           ".item-" + n + " .hero { background-image: url( \"img/hero-" + n + ".jpg\" ); background-size: cover; }\n"
           "@font-face { font-family: 'F" + n + "'; src: url('fonts/f" + n + ".woff2') format('woff2'); }\n"
           ".item-" + n + " .q { background: url(img/q.png?v=" + n + ") }\n"
           ".item-" + n + " .m { mask: url(#m" + n + ") }\n"
           "@media (min-width: 600px) { .item-" + n + " { padding: calc(1em + 2px); "
           "transform: translate(10px, 20px) rotate(3deg); content: \"\\201C\"; } }\n";
}

constexpr size_t LinksPerRules = 3;

std::string MakeSheet(size_t bytes, size_t& links)
{
    std::string sheet = "@charset \"utf-8\";\n@import url(\"base.css\");\n@import 'print.css' print;\n";
    links = 2;
    for (int i = 0; sheet.size() < bytes; ++i) {
        sheet += Rules(i);
        links += LinksPerRules;
    }
    return sheet;
}

std::string MakePage(size_t bytes, size_t& links)
{
    std::string page = "<html><head><title>Bench</title></head>\r\n<body><table>\r\n";
    links = 0;
    for (int i = 0; page.size() < bytes; ++i) {
        page += Row(i);
        links += LinksPerRow;
    }
    page += "</table></body></html>\r\n";
    return page;
}

std::string MakeFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zanvik-bench-scan-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern + "/";
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Timing {
    double wall = 0;
    double processor = 0;
};

Timing ScanOnce(const TScanRequest& request, size_t expected)
{
    size_t counted = 0;
    TLinkScanner scanner([&counted](const std::vector<TQueuedLink>& links) { counted += links.size(); });
    auto start = std::chrono::steady_clock::now();
    double startProcessor = ThreadSeconds();
    scanner.ScanPage(request);
    Timing timing;
    timing.processor = ThreadSeconds() - startProcessor;
    timing.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (counted != expected) {
        std::fprintf(stderr, "wrong count: %zu links, expected %zu\n", counted, expected);
        std::exit(1);
    }
    return timing;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Scans one generated file runs times and prints its medians.
void Bench(const char* what, const std::string& file, const std::string& content, const std::string& type,
           size_t expected, int runs)
{
    std::ofstream(file, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
    TScanRequest request;
    request.pageFile = file;
    request.pageUrl = Turl("http://bench.example/site/index.htm");
    request.level = 3;
    request.contentType = type;
    request.stopped = [] { return false; };
    std::vector<double> wall;
    std::vector<double> processor;
    for (int i = 0; i < runs; ++i) {
        Timing timing = ScanOnce(request, expected);
        wall.push_back(static_cast<double>(content.size()) / 1e6 / timing.wall);
        processor.push_back(static_cast<double>(content.size()) / 1e6 / timing.processor);
    }
    std::printf("%.1f MB of %s, %zu links: %.1f MB/s by the clock, %.1f MB/s of processor time (medians of %d runs)\n",
                static_cast<double>(content.size()) / 1e6, what, expected, Median(wall), Median(processor), runs);
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    size_t megabytes = argc > 2 ? static_cast<size_t>(std::max(1, std::atoi(argv[2]))) : 20;
    QCoreApplication app(argc, argv);
    SetMainThread();
    std::string folder = MakeFolder();
    setenv("ZANVIK_HOME", folder.c_str(), 1);
    setenv("ZANVIK_WINDIR", folder.c_str(), 1);

    size_t expected = 0;
    std::string page = MakePage(megabytes * 1000000, expected);
    Bench("HTML", folder + "bench.htm", page, "text/html", expected, runs);
    page = MakeSheet(megabytes * 1000000, expected);
    Bench("style sheet", folder + "bench.css", page, "text/css", expected, runs);
    std::filesystem::remove_all(folder);
    return 0;
}
