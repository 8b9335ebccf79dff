// A slave's page ends with one hand-over to the main thread, which takes its next URL and
// brings along the status line and the links the page left: none of them is lost, and
// each page's status line is shown before the next page's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
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

TEST(SlaveHandOver, StatusLinesAndLinksOfUnchangedPagesAreAllDeliveredInTheirOrder)
{
    GrabFixture grab;
    ScriptedServer server;
    server.SetDefault(Script::ByRequest());
    // The home page links a chain of stored pages, each linking the next only in its
    // stored copy; the last links a new file. One slave at a time follows the chain.
    Serve(server, "/", "text/html", "<a href=\"p1.html\">1</a>");
    const int kChain = 6;
    for (int n = 1; n <= kChain; ++n) {
        std::string next = n < kChain ? "p" + std::to_string(n + 1) + ".html" : "new.txt";
        grab.folder.Write("wwwData/127.0.0.1/p" + std::to_string(n) + ".html", "<a href=\"" + next + "\">next</a>");
        ServeUnchanged(server, "/p" + std::to_string(n) + ".html", "text/html");
    }
    Serve(server, "/new.txt", "text/plain", "at the end of the chain");
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

}  // namespace
