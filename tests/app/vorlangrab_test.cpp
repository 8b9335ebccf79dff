// vorlan-grab's output: one progress line on a terminal, only what needs reading
// elsewhere, every status line with --verbose.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/process.h"
#include "support/scriptedserver.h"
#include "support/tempfolder.h"

namespace {

using Script = ScriptedServer::Script;

const std::string kGrab = std::string(ZANVIK_BIN_DIR) + "/vorlan-grab";
const int kPageSize = 20000;

struct Output {
    int exitCode = -1;
    std::string out;
    std::string err;
};

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

class VorlanGrab : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string header = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
                                   + std::to_string(kPageSize) + "\r\n\r\n";
        server.Push(Script::Answer(header));
        server.Push(Script().ReadRequest().Send(header).SendFiller(kPageSize));
    }

    // Runs vorlan-grab with its output in files, not on a terminal.
    Output RunToFiles(std::vector<std::string> arguments)
    {
        std::vector<std::string> shell = {"-c", "out=$1; err=$2; shift 2; exec \"$0\" \"$@\" >\"$out\" 2>\"$err\"",
                                          kGrab, folder / "out.txt", folder / "err.txt"};
        shell.insert(shell.end(), arguments.begin(), arguments.end());
        Output output;
        pid_t pid = SpawnProgram("/bin/sh", shell);
        EXPECT_GT(pid, 0);
        output.exitCode = WaitProgram(pid);
        output.out = folder.Read("out.txt");
        output.err = folder.Read("err.txt");
        return output;
    }

    // Runs vorlan-grab on a terminal of its own; gives all it wrote there.
    Output RunOnTerminal(const std::vector<std::string>& arguments)
    {
        std::vector<char*> argv = {const_cast<char*>(kGrab.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        winsize size{};
        size.ws_col = 200;
        size.ws_row = 24;
        int terminal = -1;
        pid_t pid = ::forkpty(&terminal, nullptr, nullptr, &size);
        if (pid == 0) {
            ::execv(kGrab.c_str(), argv.data());
            ::_exit(127);
        }
        Output output;
        EXPECT_GT(pid, 0);
        char buffer[4096];
        for (;;) {
            ssize_t n = ::read(terminal, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;  // EIO once the program and its terminal are gone
            output.out.append(buffer, static_cast<size_t>(n));
        }
        ::close(terminal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return output;
    }

    TempFolder folder;
    ScriptedServer server;
};

TEST_F(VorlanGrab, WithoutATerminalOnlyTheStartAndTheSummaryArePrinted)
{
    Output output = RunToFiles({"--depth", "0", server.Url("/page.txt")});
    EXPECT_EQ(output.exitCode, 0) << output.err;
    EXPECT_EQ(output.err, "vorlan-grab: 開始下載 " + server.Url("/page.txt") + " (深度 0)\n");
    EXPECT_EQ(output.out.rfind("1 pages stored, 20000 bytes, ", 0), 0u) << output.out;
}

TEST_F(VorlanGrab, WithoutATerminalWarningsArePrinted)
{
    folder.Write("vorlan.ini", "[setup]\nminVolumn=2000000000\n");
    Output output = RunToFiles({server.Url("/page.txt")});
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_EQ(Count(output.err, "\n"), 2u) << output.err;
    EXPECT_NE(output.err.find("warning: "), std::string::npos) << output.err;
    EXPECT_NE(output.err.find(" 硬碟容量不足\n"), std::string::npos) << output.err;
}

TEST_F(VorlanGrab, VerboseKeepsEveryStatusLine)
{
    Output output = RunToFiles({"--verbose", "--depth", "0", server.Url("/page.txt")});
    EXPECT_EQ(output.exitCode, 0) << output.err;
    EXPECT_GE(Count(output.err, "位元下載\n"), 10u) << output.err;
}

TEST_F(VorlanGrab, OnATerminalOneProgressLineIsRedrawnInPlace)
{
    Output output = RunOnTerminal({"--depth", "0", server.Url("/page.txt")});
    EXPECT_EQ(output.exitCode, 0) << output.out;
    EXPECT_EQ(Count(output.out, "位元下載"), 0u) << output.out;
    EXPECT_NE(output.out.find("\r\033[K已存 1 頁, 20000 位元組, 00:0"), std::string::npos) << output.out;
    EXPECT_NE(output.out.find(server.Url("/page.txt")), std::string::npos);
    // The start line, the progress line's end and the summary: nothing per kilobyte.
    EXPECT_EQ(Count(output.out, "\n"), 3u) << output.out;
    EXPECT_NE(output.out.find("1 pages stored, 20000 bytes, "), std::string::npos) << output.out;
}

}  // namespace
