#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "core/mainthread.h"
#include "net/dns.h"
#include "platform/process.h"
#include "platform/socketerrors.h"
#include "server/errorpage.h"
#include "server/pageserver.h"
#include "server/pageserverhost.h"
#include "support/loopbacksocket.h"
#include "support/nginxserver.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"
#include "support/testbitmap.h"

using namespace std::chrono_literals;

namespace {

const char* const kCurl = "/usr/bin/curl";
const char* const kChromium = "/usr/bin/chromium";
const std::string kSite = "wwwData/10.1.2.3/";

class StandInHost : public TPageServerHost {
public:
    int CurrentList() const override { return list; }
    bool EnsureConnection() override
    {
        ++calls;
        return ensure ? ensure() : true;
    }

    std::atomic<int> list{0};
    std::atomic<int> calls{0};
    std::function<bool()> ensure;  // set before requests come
};

struct ProgramResult {
    bool finished = false;
    int exitCode = -1;
    std::string output;
    std::string errors;
};

// Runs program to its end while the main thread serves the server, its standard output
// and error going to files; stopped by its own pid when it overruns timeout.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& outputFile, std::chrono::milliseconds timeout)
{
    std::vector<std::string> words{"-c", "out=$1; shift; exec \"$@\" >\"$out\" 2>\"$out.err\"", "sh", outputFile,
                                   program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    ProgramResult result;
    pid_t pid = SpawnProgram("/bin/sh", words);
    if (pid <= 0)
        return result;
    result.finished = WaitOnMain([&] { return !ProgramRunning(pid, &result.exitCode); }, timeout);
    if (!result.finished) {
        ::kill(pid, SIGKILL);
        WaitProgram(pid);
    }
    result.output = ReadFile(outputFile);
    result.errors = ReadFile(outputFile + ".err");
    return result;
}

struct RawAnswer {
    std::string bytes;
    bool graceful = false;  // ended by the server's close, not by a reset or a time-out
};

// A client of bare bytes: sends each piece after pause, half-closes when asked, and reads
// the answer to its end, or leaves after keep bytes. Runs on its own thread while the main
// thread waits.
RawAnswer RawRequest(int port, const std::vector<std::string>& pieces, std::chrono::milliseconds pause,
                     bool halfClose, size_t keep = std::string::npos)
{
    RawAnswer answer;
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(port));
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval limit{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        ::close(fd);
        return answer;
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            std::this_thread::sleep_for(pause);
        ::send(fd, pieces[i].data(), pieces[i].size(), MSG_NOSIGNAL);
    }
    if (halfClose)
        ::shutdown(fd, SHUT_WR);
    char buffer[65536];
    while (answer.bytes.size() < keep) {
        ssize_t n = ::recv(fd, buffer, std::min(sizeof buffer, keep - answer.bytes.size()), 0);
        if (n <= 0) {
            answer.graceful = n == 0;
            break;
        }
        answer.bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return answer;
}

// Raises the process's descriptor limit to at least count while it lives, and puts the
// old limit back.
class DescriptorLimit {
public:
    explicit DescriptorLimit(rlim_t count)
    {
        ::getrlimit(RLIMIT_NOFILE, &saved);
        rlimit raised = saved;
        if (raised.rlim_cur < count)
            raised.rlim_cur = count;
        enough = raised.rlim_cur <= raised.rlim_max && ::setrlimit(RLIMIT_NOFILE, &raised) == 0;
    }
    ~DescriptorLimit() { ::setrlimit(RLIMIT_NOFILE, &saved); }
    bool enough = false;

private:
    rlimit saved{};
};

template <typename T>
T ServeUntil(std::future<T>& result, std::chrono::milliseconds timeout = 20s)
{
    WaitOnMain([&] { return result.wait_for(0s) == std::future_status::ready; }, timeout);
    return result.get();
}

// Every byte value, and more than one send of the socket takes at once.
std::string BinaryPage()
{
    std::string page(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return page;
}

class PageServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.Write("dns.ini", "[www]\nsite.test=10.1.2.3\n");
        cache = std::make_unique<TDNS>();
        SetHostCache(cache.get());
        server = std::make_unique<TPageServer>(&host);
        server->TCPServer1.Port = "0";
        server->Open();
        ASSERT_EQ(server->TCPServer1.State(), stListening);
        port = server->TCPServer1.ListenPort();
    }

    void TearDown() override
    {
        server.reset();
        SetHostCache(nullptr);
    }

    void Store(const std::string& path, const std::string& content) { folder.Write(kSite + path, content); }

    ProgramResult Curl(const std::string& url, std::vector<std::string> options = {})
    {
        // A stored page has no status line: the answer is HTTP/0.9 to curl. With "-i"
        // curl gives the error pages' status line and empty line too.
        std::vector<std::string> arguments{"-s", "-S", "--http0.9", "--max-time", "20",
                                           "-x", "127.0.0.1:" + std::to_string(port)};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(url);
        return RunProgram(kCurl, arguments, folder / ("curl" + std::to_string(++runs) + ".out"), 30s);
    }

    RawAnswer Raw(const std::vector<std::string>& pieces, std::chrono::milliseconds pause, bool halfClose,
                  size_t keep = std::string::npos)
    {
        auto result = std::async(std::launch::async, RawRequest, port, pieces, pause, halfClose, keep);
        return ServeUntil(result);
    }

    // Waits until every connection is closed and every worker has finished.
    bool Settled()
    {
        return WaitOnMain([&] { return server->Answering() == 0 && server->TCPServer1.Clients().Count() == 0; }, 5s);
    }

    TempFolder folder;
    ScriptedUi ui;
    std::unique_ptr<TDNS> cache;
    StandInHost host;
    std::unique_ptr<TPageServer> server;
    int port = 0;
    int runs = 0;
};

class CurlTest : public PageServerTest {
protected:
    void SetUp() override
    {
        if (::access(kCurl, X_OK) != 0)
            GTEST_SKIP() << "curl is not installed (Debian package curl)";
        PageServerTest::SetUp();
    }
};

}  // namespace

TEST_F(CurlTest, AStoredPageComesBackAsExactlyItsBytesThenAGracefulClose)
{
    const std::string page = BinaryPage();
    Store("dir/page.bin", page);
    Store("dir/default.htm", "<html>folder</html>");

    ProgramResult result = Curl("http://site.test/dir/page.bin");
    ASSERT_TRUE(result.finished);
    // curl ends with 0 only on a close after the whole answer; a reset gives 56.
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output.size(), page.size());
    EXPECT_TRUE(result.output == page);

    EXPECT_EQ(Curl("http://SITE.test/dir/").output, "<html>folder</html>");
    EXPECT_TRUE(Settled());
    EXPECT_EQ(ui.Shown("browser-animate"), (std::vector<std::string>{"on", "off", "on", "off"}));
    EXPECT_EQ(host.calls, 0);
}

TEST_F(CurlTest, MissingEmptyOutsideAndPostedPagesGetTheNotStoredPage)
{
    Store("empty.htm", "");
    folder.Write("wwwData/secret.htm", "outside the site folder");
    folder.Write("secret.htm", "outside the store");
    struct Case {
        std::string url;
        std::string shown;
    };
    for (const Case& c : {Case{"http://site.test/empty.htm", "http://site.test/empty.htm"},
                          Case{"http://site.test/missing%20page.htm", "http://site.test/missing page.htm"},
                          Case{"http://unknown.test/secret.htm", "http://unknown.test/secret.htm"},
                          Case{"http://site.test/%2e%2e/secret.htm", "http://site.test/%2e%2e/secret.htm"},
                          Case{"http://site.test/%2E%2E/%2e%2e/secret.htm", "http://site.test/%2E%2E/%2e%2e/secret.htm"}}) {
        ProgramResult result = Curl(c.url, {"--path-as-is", "-i"});
        EXPECT_EQ(result.exitCode, 0) << c.url << ": " << result.errors;
        EXPECT_EQ(result.output, ErrorPage(TErrorPage::NotStored, c.shown)) << c.url;
    }
    // A "POST" line has its target from the fourth character on.
    Store("form.htm", "stored");
    EXPECT_EQ(Curl("http://site.test/form.htm", {"-i", "-d", "a=1"}).output, ErrorPage(TErrorPage::NotStored, "T"));
    EXPECT_TRUE(ui.Shown("error").empty());
}

TEST_F(CurlTest, ManyBrowsersAtOnceEachGetTheirOwnPage)
{
    std::vector<std::string> options{"--parallel", "--parallel-max", "16", "-s", "-S", "--http0.9",
                                     "-x", "127.0.0.1:" + std::to_string(port)};
    for (int i = 0; i < 48; ++i) {
        Store("p" + std::to_string(i) + ".htm", std::string(20000 + i * 331, static_cast<char>('a' + i % 26)));
        options.insert(options.end(), {"-o", folder / ("got" + std::to_string(i)),
                                       "http://site.test/p" + std::to_string(i) + ".htm"});
    }
    ProgramResult result = RunProgram(kCurl, options, folder / "parallel.out", 60s);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(folder.Read("got" + std::to_string(i)), folder.Read(kSite + "p" + std::to_string(i) + ".htm")) << i;
    EXPECT_TRUE(Settled());
}

TEST_F(CurlTest, OnThePhoneBookAMissingPageIsFetchedLive)
{
    if (!NginxServer::Available())
        GTEST_SKIP() << "nginx is not installed (Debian package nginx-light)";
    TempFolder origin(TempFolder::Use::Plain);
    origin.Write("live.htm", "<html>live from the origin</html>");
    NginxServer nginx(origin.Path());
    ASSERT_TRUE(nginx.Running()) << nginx.Error();
    Store("kept.htm", "from the store");
    host.list = PhoneBookList;

    ProgramResult live = Curl(nginx.Url("/live.htm"));
    EXPECT_EQ(live.exitCode, 0) << live.errors;
    // The origin's header stays behind; only its body is passed on.
    EXPECT_EQ(live.output, "<html>live from the origin</html>");
    EXPECT_EQ(host.calls, 1);

    const std::string dead = "http://127.0.0.1:" + std::to_string(FreePort()) + "/gone.htm";
    EXPECT_EQ(Curl(dead, {"-i"}).output, ErrorPage(TErrorPage::DownloadFailed, dead));
    EXPECT_EQ(host.calls, 2);

    // A stored page needs no connection.
    EXPECT_EQ(Curl("http://site.test/kept.htm").output, "from the store");
    EXPECT_EQ(host.calls, 2);
    EXPECT_TRUE(ui.Shown("error").empty());
}

TEST_F(CurlTest, OnThePhoneBookWithoutAConnectionTheNoNetworkPage)
{
    host.list = PhoneBookList;
    host.ensure = [] { return false; };
    ProgramResult result = Curl("http://site.test/missing.htm", {"-i"});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output, ErrorPage(TErrorPage::NoNetwork, ""));
    EXPECT_EQ(host.calls, 1);
}

TEST_F(CurlTest, AFailureWhileAnsweringIsShownAndTheConnectionStillCloses)
{
    host.list = PhoneBookList;
    host.ensure = []() -> bool { throw std::runtime_error("dial helper missing"); };
    ProgramResult result = Curl("http://site.test/missing.htm");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(ui.Shown("error"), (std::vector<std::string>{"錯誤代碼:Givedata 112dial helper missing"}));
    EXPECT_TRUE(Settled());
    EXPECT_EQ(ui.Shown("browser-animate"), (std::vector<std::string>{"on", "off"}));
}

TEST_F(PageServerTest, ARequestInPiecesGetsOneAnswer)
{
    Store("page.htm", "the stored page");
    server->RequestWait = 5s;
    RawAnswer answer = Raw({"GET http://site.te", "st/page.htm HTTP/1.0\r", "\nHost: site.test\r\n", "\r\n"}, 150ms,
                           false);
    EXPECT_TRUE(answer.graceful);
    EXPECT_EQ(answer.bytes, "the stored page");
    EXPECT_TRUE(Settled());
    EXPECT_EQ(ui.Shown("browser-animate"), (std::vector<std::string>{"on", "off"}));
}

TEST_F(PageServerTest, TheBrowsersCloseDuringAnAnswerNeitherCutsNorLeaksTheConnection)
{
    const std::string page = BinaryPage();
    Store("big.bin", page);
    // The half-close comes while the worker still sends: the answer goes on to its end.
    RawAnswer whole = Raw({"GET http://site.test/big.bin HTTP/1.0\r\n\r\n"}, 0ms, true);
    EXPECT_TRUE(whole.graceful);
    EXPECT_TRUE(whole.bytes == page);
    EXPECT_TRUE(Settled());

    // A browser that goes away after the first bytes ends the answer; nothing is left open.
    RawAnswer part = Raw({"GET http://site.test/big.bin HTTP/1.0\r\n\r\n"}, 0ms, false, 1000);
    EXPECT_EQ(part.bytes, page.substr(0, 1000));
    EXPECT_TRUE(Settled());
    EXPECT_EQ(Raw({"GET http://site.test/big.bin HTTP/1.0\r\n\r\n"}, 0ms, false).bytes.size(), page.size());
    EXPECT_EQ(ui.Shown("browser-animate").size(), 6u);
}

TEST_F(PageServerTest, ARequestLineWithoutCrLfHasAnEmptyTarget)
{
    Store("page.htm", "the stored page");
    // Ended by the browser's half-close, long before the wait would end.
    server->RequestWait = 30s;
    RawAnswer ended = Raw({"GET http://site.test/page.htm HTTP/1.0"}, 0ms, true);
    EXPECT_TRUE(ended.graceful);
    EXPECT_EQ(ended.bytes, ErrorPage(TErrorPage::NotStored, ""));

    // Ended by the bytes stopping.
    server->RequestWait = 100ms;
    RawAnswer quiet = Raw({"GET http://site.test/page.htm HTTP/1.0\n\n"}, 0ms, false);
    EXPECT_TRUE(quiet.graceful);
    EXPECT_EQ(quiet.bytes, ErrorPage(TErrorPage::NotStored, ""));

    // Ended by its length.
    RawAnswer flood = Raw({std::string(TPageServer::MaxRequestLine, 'x')}, 0ms, false);
    EXPECT_EQ(flood.bytes, ErrorPage(TErrorPage::NotStored, ""));
    EXPECT_TRUE(Settled());
}

TEST_F(PageServerTest, ABrowserThatClosesWithoutSendingGetsNoWorker)
{
    RawAnswer answer = Raw({}, 0ms, true);
    // Such a connection ends with an abortive close.
    EXPECT_FALSE(answer.graceful);
    EXPECT_EQ(answer.bytes, "");
    EXPECT_TRUE(Settled());
    EXPECT_TRUE(ui.Shown("browser-animate").empty());
}

TEST_F(PageServerTest, OnlyTheLoopbackAddressIsServed)
{
    auto elsewhere = std::async(std::launch::async, [this] {
        int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, "127.0.0.2", &peer.sin_addr);
        bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0;
        ::close(fd);
        return connected;
    });
    EXPECT_FALSE(ServeUntil(elsewhere));
}

TEST_F(PageServerTest, ClosingCutsTheAnswersUnderWayAndWaitsForTheirWorkers)
{
    std::atomic<bool> release{false};
    host.list = PhoneBookList;
    host.ensure = [&release] {
        while (!release)
            std::this_thread::sleep_for(5ms);
        return false;
    };
    auto answer = std::async(std::launch::async, RawRequest, port,
                             std::vector<std::string>{"GET http://site.test/x.htm HTTP/1.0\r\n\r\n"}, 0ms, false,
                             std::string::npos);
    ASSERT_TRUE(WaitOnMain([&] { return server->Answering() == 1; }, 5s));
    std::thread releaser([&release] {
        std::this_thread::sleep_for(200ms);
        release = true;
    });
    server.reset();
    releaser.join();
    RawAnswer got = ServeUntil(answer);
    // The connection was reset under the worker, which still ended before the server went.
    EXPECT_FALSE(got.graceful);
    EXPECT_EQ(got.bytes, "");
    EXPECT_EQ(ui.Shown("browser-animate"), (std::vector<std::string>{"on", "off"}));
}

TEST_F(PageServerTest, ClosingEndsAtOnceWhileABrowserReadsNothing)
{
    Store("huge.bin", std::string(32 * 1024 * 1024, 'x'));
    // The program's own 60 s would only make a failure slower to show.
    server->TCPServer1.SendTimeout = 10000;
    int browser = ConnectLoopback(port, 4096);
    ASSERT_GE(browser, 0);
    const std::string request = "GET http://site.test/huge.bin HTTP/1.0\r\n\r\n";
    ASSERT_EQ(::send(browser, request.data(), request.size(), MSG_NOSIGNAL), static_cast<ssize_t>(request.size()));
    ASSERT_TRUE(WaitOnMain([&] { return server->Answering() == 1; }, 5s));
    WaitOnMain([] { return false; }, 300ms);  // the worker's send is stuck by now
    auto start = std::chrono::steady_clock::now();
    server.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    ::close(browser);
}

TEST_F(PageServerTest, AFailedListenIsSaidOnceInTheStatusLine)
{
    TPageServer second(&host);
    second.TCPServer1.Port = std::to_string(port);
    second.Open();
    WaitOnMain([] { return false; }, 300ms);
    std::vector<std::string> status = ui.Shown("status");
    ASSERT_EQ(status.size(), 1u);
    EXPECT_NE(status[0].find("127.0.0.1:" + std::to_string(port)), std::string::npos) << status[0];
    EXPECT_NE(status[0].find(WinsockErrorText(WSAEADDRINUSE)), std::string::npos) << status[0];
}

TEST_F(PageServerTest, AConnectionWithoutACompleteRequestLineIsClosedAfterTheIdleLimit)
{
    server->IdleLimit = 300ms;
    server->RequestWait = 5s;
    auto start = std::chrono::steady_clock::now();
    RawAnswer silent = Raw({}, 0ms, false);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(silent.bytes, "");
    // Bytes that trickle in without ever ending the line do not keep it open either.
    RawAnswer trickle = Raw(std::vector<std::string>(15, "G"), 100ms, false);
    EXPECT_EQ(trickle.bytes, "");
    EXPECT_TRUE(Settled());
    EXPECT_TRUE(ui.Shown("browser-animate").empty());
}

TEST_F(PageServerTest, TwoThousandIdleConnectionsDoNotHoldUpARealRequest)
{
    const int count = 2000;
    DescriptorLimit limit(2 * count + 512);  // both ends of each connection live here
    if (!limit.enough)
        GTEST_SKIP() << "the descriptor limit cannot be raised to " << 2 * count + 512;
    Store("page.htm", "the stored page");
    // Opened in batches that the listener's queue holds, served without pauses: a full
    // queue drops connections, which then wait a second or more to be tried again.
    std::vector<int> idle;
    auto opened = std::async(std::launch::async, [&] {
        while (idle.size() < static_cast<size_t>(count)) {
            for (int i = 0; i < 32 && idle.size() < static_cast<size_t>(count); ++i) {
                int fd = ConnectLoopback(port);
                if (fd < 0)
                    return idle.size();
                idle.push_back(fd);
            }
            while (server->TCPServer1.Clients().Count() < static_cast<int>(idle.size()))
                std::this_thread::sleep_for(1ms);
        }
        return idle.size();
    });
    auto began = std::chrono::steady_clock::now();
    while (opened.wait_for(0s) != std::future_status::ready && std::chrono::steady_clock::now() - began < 60s)
        QCoreApplication::processEvents();
    ASSERT_EQ(opened.get(), static_cast<size_t>(count));

    auto start = std::chrono::steady_clock::now();
    RawAnswer real = Raw({"GET http://site.test/page.htm HTTP/1.0\r\n\r\n"}, 0ms, false);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(real.bytes, "the stored page");
    for (int fd : idle)
        ::close(fd);
    EXPECT_TRUE(WaitOnMain([&] { return server->TCPServer1.Clients().Count() == 0; }, 20s));
}

class ChromiumTest : public PageServerTest {
protected:
    void SetUp() override
    {
        if (::access(kChromium, X_OK) != 0)
            GTEST_SKIP() << "chromium is not installed (Debian package chromium)";
        PageServerTest::SetUp();
    }

    // The page's DOM after it loaded; skips the test when chromium cannot start.
    std::string DumpDom(const std::string& url)
    {
        const std::string profile = folder / ("profile" + std::to_string(++runs));
        ProgramResult result = RunProgram(kChromium,
                                          {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                           "--no-first-run", "--disable-background-networking",
                                           "--disable-component-update", "--disable-sync",
                                           "--user-data-dir=" + profile,
                                           "--proxy-server=127.0.0.1:" + std::to_string(port), "--dump-dom", url},
                                          folder / ("chromium" + std::to_string(runs) + ".out"), 60s);
        if (!result.finished || (result.exitCode != 0 && result.output.empty()))
            skipped = "chromium did not run (exit " + std::to_string(result.exitCode) + "): " + result.errors;
        return result.output;
    }

    std::string skipped;
};

TEST_F(ChromiumTest, AStoredPageShowsWithItsPicture)
{
    Store("page.htm",
          "<html><head><title>Stored</title></head><body><p>offline</p>"
          "<img src=\"pic/seven.bmp\" onload=\"document.title='Stored '+this.naturalWidth+'x'+this.naturalHeight\">"
          "</body></html>");
    Store("pic/seven.bmp", TestBitmap(7, 5));
    std::string dom = DumpDom("http://site.test/page.htm");
    if (!skipped.empty())
        GTEST_SKIP() << skipped;
    EXPECT_NE(dom.find("<title>Stored 7x5</title>"), std::string::npos) << dom;
    EXPECT_NE(dom.find("<p>offline</p>"), std::string::npos) << dom;
}

TEST_F(ChromiumTest, AMissingPageShowsTheNotStoredPage)
{
    std::string dom = DumpDom("http://site.test/missing.htm");
    if (!skipped.empty())
        GTEST_SKIP() << skipped;
    EXPECT_NE(dom.find("<title>Zanvik --- 錯誤訊息</title>"), std::string::npos) << dom;
    EXPECT_NE(dom.find("在硬碟上找不到你要的資料"), std::string::npos) << dom;
    EXPECT_NE(dom.find("http://site.test/missing.htm"), std::string::npos) << dom;
}
