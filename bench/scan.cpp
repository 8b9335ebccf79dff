// Times the link scanner: generates a large HTML page full of tags and links in a fresh
// temporary program folder, scans it several times with a sink that counts the links,
// and prints the median speed in MB/s. The count is checked against what was written.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

double ScanOnce(const TScanRequest& request, size_t expected)
{
    size_t counted = 0;
    TLinkScanner scanner([&counted](const std::vector<TQueuedLink>& links) { counted += links.size(); });
    auto start = std::chrono::steady_clock::now();
    scanner.ScanPage(request);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (counted != expected) {
        std::fprintf(stderr, "wrong count: %zu links, expected %zu\n", counted, expected);
        std::exit(1);
    }
    return seconds;
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
    TScanRequest request;
    request.pageFile = folder + "bench.htm";
    request.pageUrl = Turl("http://bench.example/site/index.htm");
    request.level = 3;
    request.contentType = "text/html";
    request.stopped = [] { return false; };
    std::ofstream(request.pageFile, std::ios::binary).write(page.data(), static_cast<std::streamsize>(page.size()));

    std::vector<double> speeds;
    for (int i = 0; i < runs; ++i)
        speeds.push_back(static_cast<double>(page.size()) / 1e6 / ScanOnce(request, expected));
    std::filesystem::remove_all(folder);
    std::sort(speeds.begin(), speeds.end());
    std::printf("%.1f MB of HTML, %zu links: %.1f MB/s (median of %d runs)\n", static_cast<double>(page.size()) / 1e6,
                expected, speeds[speeds.size() / 2], runs);
    return 0;
}
