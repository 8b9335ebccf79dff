// The least a grab of a loopback site can cost with Zanvik's requests: five threads take
// the paths read from standard input in turn and, for each, connect, send a HEAD and read
// the answer to the close; with "get" they then do the same with a GET and write the body
// to a file under FOLDER, as a first grab does. Nothing is handed between threads and no
// event loop runs. With "scan" each thread also does the rest of the work every grab of a
// page must do: the body goes to a temporary file that is then renamed, and each HTML page
// (fetched, or with "head" the stored one, after a look at its date) goes through Zanvik's
// link scanner, its links into one shared set. bench/crawl compares Zanvik's two grabs
// with these.
// Usage: bench-bare-client PORT head|get FOLDER [scan] < paths   (prints the seconds taken)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include <QCoreApplication>

#include "core/mainthread.h"
#include "grab/linkscanner.h"

namespace {

constexpr int Threads = 5;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "bench-bare-client: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

std::string Ask(int port, const std::string& method, const std::string& path)
{
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket < 0)
        Fail("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        Fail("connect to 127.0.0.1:" + std::to_string(port));
    std::string request = method + " /" + path + " HTTP/1.0\r\nAccept: */*\r\nHost: 127.0.0.1\r\n"
                          "User-Agent: bench-bare-client\r\n\r\n";
    if (send(socket, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size()))
        Fail("send");
    std::string answer;
    char buffer[1024];  // Zanvik reads no more at a time
    ssize_t got;
    while ((got = recv(socket, buffer, sizeof buffer, 0)) > 0)
        answer.append(buffer, static_cast<size_t>(got));
    if (got < 0)
        Fail("recv");
    close(socket);
    return answer;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool scan = argc == 5 && std::strcmp(argv[4], "scan") == 0;
    if ((argc != 4 && !scan) || (std::strcmp(argv[2], "head") != 0 && std::strcmp(argv[2], "get") != 0)) {
        std::fprintf(stderr, "usage: bench-bare-client PORT head|get FOLDER [scan] < paths\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const bool get = std::strcmp(argv[2], "get") == 0;
    const std::string folder = argv[3];
    QCoreApplication app(argc, argv);
    SetMainThread();
    std::mutex knownLock;
    std::unordered_set<std::string> known;
    auto keep = [&](const std::vector<TQueuedLink>& links) {
        std::lock_guard guard(knownLock);
        for (const auto& link : links)
            known.insert(link.url);
    };
    std::vector<std::string> paths;
    for (std::string line; std::getline(std::cin, line);)
        if (!line.empty())
            paths.push_back(line);

    std::atomic<size_t> next{0};
    auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (int i = 0; i < Threads; ++i)
        threads.emplace_back([&] {
            TLinkScanner scanner(keep);
            for (size_t n; (n = next++) < paths.size();) {
                Ask(port, "HEAD", paths[n]);
                std::string file = paths[n];
                for (char& c : file)
                    if (c == '/')
                        c = '_';
                file = folder + "/" + file;
                if (get) {
                    std::string answer = Ask(port, "GET", paths[n]);
                    size_t end = answer.find("\r\n\r\n");
                    if (end == std::string::npos)
                        Fail("no header end in the answer for " + paths[n]);
                    std::string written = scan ? file + ".tmp" : file;
                    {
                        std::ofstream out(written, std::ios::binary | std::ios::trunc);
                        out.write(answer.data() + end + 4, static_cast<std::streamsize>(answer.size() - end - 4));
                        if (!out)
                            Fail("write " + written);
                    }
                    if (scan && std::rename(written.c_str(), file.c_str()) != 0)
                        Fail("rename " + written);
                } else if (scan) {
                    struct stat info {};
                    if (stat(file.c_str(), &info) != 0)
                        Fail("stat " + file);
                }
                if (!scan || !paths[n].ends_with(".html"))
                    continue;
                TScanRequest request;
                request.pageFile = file;
                request.pageUrl = Turl("http://127.0.0.1:" + std::to_string(port) + "/" + paths[n]);
                request.level = 5;
                request.contentType = "text/html";
                request.stopped = [] { return false; };
                scanner.ScanPage(request);
            }
        });
    for (auto& thread : threads)
        thread.join();
    if (scan && known.empty()) {
        std::fprintf(stderr, "bench-bare-client: the scanner found no link in the pages under %s\n", folder.c_str());
        return 1;
    }
    std::printf("%.3f\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return 0;
}
