// A slave's page ends without waiting for the main thread: the slave takes its next URL
// from the crawl lists itself and sends the page's status line along. No status line and
// no link is lost, and each page's status line is shown before the next page's.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "grabtestkit.h"
#include "support/scriptedserver.h"

namespace {

using Script = ScriptedServer::Script;

const std::string kOld = "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT";

void Serve(ScriptedServer& server, const std::string& path, const std::string& type, const std::string& body)
{
    server.PushFor("HEAD " + path, Script().Send(Reply("200 OK", {"Content-Type: " + type})));
    server.PushFor("GET " + path, Script().Send(Reply("200 OK", {"Content-Type: " + type}, body)));
}

// A page stored before, which the server says has not changed since.
void ServeUnchanged(ScriptedServer& server, const std::string& path, const std::string& type)
{
    server.PushFor("HEAD " + path, Script().Send(Reply("200 OK", {"Content-Type: " + type, kOld})));
}

// The home page links a chain of stored pages, each linking the next only in its stored
// copy; the last links a new file. One slave at a time follows the chain.
void ServeChain(GrabFixture& grab, ScriptedServer& server, int chain)
{
    server.SetDefault(Script::ByRequest());
    Serve(server, "/", "text/html", "<a href=\"p1.html\">1</a>");
    for (int n = 1; n <= chain; ++n) {
        std::string next = n < chain ? "p" + std::to_string(n + 1) + ".html" : "new.txt";
        grab.folder.Write("wwwData/127.0.0.1/p" + std::to_string(n) + ".html", "<a href=\"" + next + "\">next</a>");
        ServeUnchanged(server, "/p" + std::to_string(n) + ".html", "text/html");
    }
    Serve(server, "/new.txt", "text/plain", "at the end of the chain");
}

TEST(SlaveHandOver, StatusLinesAndLinksOfUnchangedPagesAreAllDeliveredInTheirOrder)
{
    GrabFixture grab;
    ScriptedServer server;
    const int kChain = 6;
    ServeChain(grab, server, kChain);
    EXPECT_EQ(grab.Grab(server.Url("/"), kChain + 1), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "new.txt"), "at the end of the chain");

    std::vector<std::string> unchanged;
    for (const std::string& status : grab.ui.Shown("status"))
        if (status.find(" 檔案資料沒變, 不需下載") != std::string::npos)
            unchanged.push_back(status);
    std::vector<std::string> expected;
    for (int n = 1; n <= kChain; ++n)
        expected.push_back(server.Url("/p" + std::to_string(n) + ".html") + " 檔案資料沒變, 不需下載");
    EXPECT_EQ(unchanged, expected);
}

// A user interface whose status line fails once, for the first unchanged page.
class StatusFailsOnce : public ScriptedUi {
public:
    explicit StatusFailsOnce(std::string failing) : failing(std::move(failing)) {}
    void Status(const std::string& text) override
    {
        ScriptedUi::Status(text);
        if (text == failing && !failed.exchange(true))
            throw std::runtime_error("the status line is gone");
    }

private:
    std::string failing;
    std::atomic<bool> failed{false};
};

// A slave sends a page's status line without waiting when it has another URL to take. If
// the line cannot be shown, the slave reports it once, as the error of the page that ends
// next, and goes on: no later status line and no link is lost.
TEST(SlaveHandOver, AStatusLineThatCouldNotBeShownIsReportedOnceAndTheGrabGoesOn)
{
    GrabFixture grab;
    ScriptedServer server;
    const int kChain = 4;
    ServeChain(grab, server, kChain);
    StatusFailsOnce ui(server.Url("/p1.html") + " 檔案資料沒變, 不需下載");
    EXPECT_EQ(grab.Grab(server.Url("/"), kChain + 1), 0);
    EXPECT_EQ(grab.Stored("127.0.0.1", "new.txt"), "at the end of the chain");

    std::vector<std::string> failures;
    for (const std::string& error : ui.Shown("error"))
        if (error.rfind("錯誤代碼:1192the status line is gone\rsurlwanted:" + server.Url("/p"), 0) == 0)
            failures.push_back(error);
    EXPECT_EQ(failures.size(), 1u) << ::testing::PrintToString(ui.Shown("error"));
    for (int n = 2; n <= kChain; ++n)
        EXPECT_TRUE(ui.WasShown("status", server.Url("/p" + std::to_string(n) + ".html") + " 檔案資料沒變, 不需下載"))
            << n;
}

}  // namespace
