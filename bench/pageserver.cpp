// The page server under load: 16 browsers at once ask it, as their proxy, for one stored
// page, each on a connection of its own; then the same requests go to nginx serving the
// same file. Prints answers per second, latency percentiles and failures, and checks that
// the server leaves no thread and no descriptor behind.
//
// bench-page-server HOST PAGE NGINX_PORT [REQUESTS] [SECONDS]
// Run with ZANVIK_HOME set to a program folder whose dns.ini names HOST and whose store
// holds PAGE (a path like "/page.htm") for it; bench/page-server prepares that.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>

#include "core/mainthread.h"
#include "grab/turl.h"
#include "net/dns.h"
#include "server/pageserver.h"
#include "server/pageserverhost.h"
#include "platform/folders.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Clients = 16;

class ReadingListHost : public TPageServerHost {
public:
    int CurrentList() const override { return 0; }
    bool EnsureConnection() override { return true; }
};

struct Load {
    int port = 0;
    std::string request;
    // Checks one whole answer.
    bool (*valid)(const std::string& answer, const std::string& page) = nullptr;
    std::string page;
    long requests = 0;
    std::chrono::seconds limit{0};
};

struct Outcome {
    long ok = 0;
    long failed = 0;
    std::vector<double> latencies;  // milliseconds
    double seconds = 0;
};

bool SameBytes(const std::string& answer, const std::string& page)
{
    return answer == page;
}

bool HttpAnswer(const std::string& answer, const std::string& page)
{
    size_t end = answer.find("\r\n\r\n");
    return answer.rfind("HTTP/1.1 200 ", 0) == 0 && end != std::string::npos
        && answer.compare(end + 4, std::string::npos, page) == 0;
}

// One request on a fresh connection, read until the server closes.
bool Ask(const Load& load, std::string& answer)
{
    answer.clear();
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    timeval limit{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(load.port));
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0
        && ::send(fd, load.request.data(), load.request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(load.request.size());
    char buffer[65536];
    while (ok) {
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0)
            break;
        if (n < 0)
            ok = false;
        else
            answer.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return ok && load.valid(answer, load.page);
}

// Clients threads share the request count.
Outcome Run(const Load& load)
{
    std::atomic<long> next{0};
    std::vector<Outcome> parts(Clients);
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + load.limit;
    std::atomic<int> running{Clients};
    std::vector<std::thread> threads;
    for (int i = 0; i < Clients; ++i) {
        threads.emplace_back([&, i] {
            std::string answer;
            while (next++ < load.requests && Clock::now() < deadline) {
                Clock::time_point asked = Clock::now();
                bool ok = Ask(load, answer);
                parts[i].latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - asked).count());
                ++(ok ? parts[i].ok : parts[i].failed);
            }
            if (--running == 0)
                QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::quit(); },
                                          Qt::QueuedConnection);
        });
    }
    // The main thread serves the server as the program does: in its event loop.
    QCoreApplication::exec();
    for (std::thread& thread : threads)
        thread.join();
    Outcome total;
    total.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (const Outcome& part : parts) {
        total.ok += part.ok;
        total.failed += part.failed;
        total.latencies.insert(total.latencies.end(), part.latencies.begin(), part.latencies.end());
    }
    std::sort(total.latencies.begin(), total.latencies.end());
    return total;
}

double Percentile(const std::vector<double>& sorted, double share)
{
    if (sorted.empty())
        return 0;
    size_t index = static_cast<size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[index];
}

void Print(const char* name, const Outcome& outcome)
{
    const std::vector<double>& l = outcome.latencies;
    std::printf("%-12s %8ld answers %6ld failed %9.0f per second   latency ms: p50 %.2f  p90 %.2f  p99 %.2f  max %.2f\n",
                name, outcome.ok, outcome.failed, static_cast<double>(outcome.ok) / outcome.seconds,
                Percentile(l, 0.50), Percentile(l, 0.90), Percentile(l, 0.99), l.empty() ? 0.0 : l.back());
}

long Entries(const char* folder)
{
    std::error_code error;
    auto it = std::filesystem::directory_iterator(folder, error);
    return error ? -1 : std::distance(it, std::filesystem::directory_iterator());
}

// Threads of this process once the short-lived ones have gone: a worker that has
// handed its connection back may take a moment to end.
long SettledThreads(long expected)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(3);
    long count = Entries("/proc/self/task");
    while (count > expected && Clock::now() < deadline) {
        WaitOnMain([] { return false; }, std::chrono::milliseconds(20));
        count = Entries("/proc/self/task");
    }
    return count;
}

// A page server on a free port, under a warm-up and then the load; false when it does
// not listen.
bool LoadPageServer(Load load, Outcome& outcome)
{
    ReadingListHost window;
    TPageServer server(&window);
    server.TCPServer1.Port = std::to_string(load.port);
    server.Open();
    if (server.TCPServer1.State() != stListening)
        return false;
    load.port = server.TCPServer1.ListenPort();
    Load warmUp = load;
    warmUp.requests = 500;
    Run(warmUp);
    outcome = Run(load);
    return true;
}

std::string ReadPage(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Request(const std::string& host, const std::string& page)
{
    return "GET http://" + host + page + " HTTP/1.0\r\nHost: " + host + "\r\nUser-Agent: bench-page-server\r\n\r\n";
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SetMainThread();
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s HOST PAGE NGINX_PORT [REQUESTS] [SECONDS]\n", argv[0]);
        return 2;
    }
    const std::string host = argv[1];
    const std::string path = argv[2];
    const int nginxPort = std::atoi(argv[3]);
    const long requests = argc > 4 ? std::atol(argv[4]) : 40000;
    const std::chrono::seconds limit(argc > 5 ? std::atoi(argv[5]) : 20);

    const long threadsBefore = Entries("/proc/self/task");
    const long descriptorsBefore = Entries("/proc/self/fd");

    auto cache = std::make_unique<TDNS>();
    SetHostCache(cache.get());
    const std::string url = std::string("http://").append(host).append(path);
    const std::string storePath = Turl(url).StorePath();
    const std::string page = ReadPage(ProgramFolder() + storePath);
    if (page.empty()) {
        std::fprintf(stderr, "bench-page-server: no stored page for %s in %s\n", url.c_str(), ProgramFolder().c_str());
        return 2;
    }
    std::printf("%d clients, one connection per request, a stored page of %zu bytes\n", Clients, page.size());

    Outcome served;
    if (!LoadPageServer(Load{0, Request(host, path), SameBytes, page, requests, limit}, served)) {
        std::fprintf(stderr, "bench-page-server: the page server does not listen\n");
        return 1;
    }
    SetHostCache(nullptr);
    cache.reset();
    const long threadsAfter = SettledThreads(threadsBefore);
    const long descriptorsAfter = Entries("/proc/self/fd");

    Run(Load{nginxPort, Request(host, path), HttpAnswer, page, 500, limit});
    Outcome nginx = Run(Load{nginxPort, Request(host, path), HttpAnswer, page, requests, limit});

    Print("page server", served);
    Print("nginx", nginx);
    std::printf("threads before %ld, after %ld; descriptors before %ld, after %ld\n", threadsBefore, threadsAfter,
                descriptorsBefore, descriptorsAfter);

    const double rate = static_cast<double>(served.ok) / served.seconds;
    const double p99 = Percentile(served.latencies, 0.99);
    bool met = rate >= 5000 && p99 < 20 && served.failed == 0 && nginx.failed == 0
        && threadsAfter == threadsBefore && descriptorsAfter == descriptorsBefore;
    std::printf("targets (>= 5000 per second, p99 < 20 ms, no failure, nothing left): %s\n", met ? "met" : "NOT MET");
    return met ? 0 : 1;
}
