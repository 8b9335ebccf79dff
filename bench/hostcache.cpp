// Times the loading of the host name cache: a "dns.ini" of N hosts, read by a new TDNS, in
// a fresh program folder under /tmp. Prints the median load time for 10,000 and 100,000
// hosts and their ratio (10 for a load that grows linearly).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "net/dns.h"
#include "platform/folders.h"

namespace {

std::string Host(int i)
{
    return "www" + std::to_string(i) + ".site" + std::to_string(i % 1000) + ".example.com";
}

double LoadOnce(const std::string& folder, int count)
{
    auto start = std::chrono::steady_clock::now();
    TDNS cache;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (cache.Lookup(Host(count - 1)).empty()) {
        std::fprintf(stderr, "the last host of %s/dns.ini was not loaded\n", folder.c_str());
        std::exit(1);
    }
    return seconds;
}

double Median(const std::string& folder, int count, int runs)
{
    std::ofstream file(folder + "/dns.ini", std::ios::trunc);
    file << "[www]\n";
    for (int i = 0; i < count; ++i)
        file << Host(i) << "=10." << (i >> 16 & 255) << "." << (i >> 8 & 255) << "." << (i & 255) << "\n";
    file.close();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(LoadOnce(folder, count));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    std::string folder = std::filesystem::temp_directory_path() / "zanvik-bench-dns-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    ::setenv("ZANVIK_HOME", folder.c_str(), 1);
    ForgetFolders();
    double small = Median(folder, 10000, runs);
    double large = Median(folder, 100000, runs);
    std::filesystem::remove_all(folder);
    std::printf("10000 hosts: %.4f s\n100000 hosts: %.4f s\nratio: %.1f (median of %d runs)\n", small, large,
                large / small, runs);
    return 0;
}
