#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/process.h"
#include "platform/rascommand.h"
#include "support/tempfolder.h"

namespace {

using namespace std::chrono_literals;

std::string Shell()
{
    return FindOnPath("sh");
}

bool ProcessGone(const std::string& pid)
{
    std::string stat = ReadFile("/proc/" + pid + "/stat");
    size_t close = stat.rfind(')');
    return stat.empty() || (close != std::string::npos && stat.compare(close, 3, ") Z") == 0);
}

TEST(RunCommand, GivesOutputErrorsAndExitCodeAndFeedsTheInput)
{
    TCommandResult result =
        RunCommand(Shell(), {"-c", "read line; echo \"got $line\"; echo oops >&2; exit 3"}, "hello\n", 10s);
    EXPECT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.output, "got hello\n");
    EXPECT_EQ(result.errors, "oops\n");
}

TEST(RunCommand, OutputBeyondThePipeBufferIsKeptWhole)
{
    TCommandResult result = RunCommand(Shell(), {"-c", "head -c 300000 /dev/zero"}, "", 10s);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output.size(), 300000u);
}

TEST(RunCommand, AProgramThatLeavesItsInputUnreadDoesNotHurtTheCaller)
{
    // Far more than a pipe holds, and the child closes its input while it still runs:
    // the writes hit a pipe without a reader, which must not kill us.
    TCommandResult result =
        RunCommand(Shell(), {"-c", "exec 0<&-; sleep 0.2; exit 0"}, std::string(1 << 20, 'x'), 10s);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0);
}

TEST(RunCommand, AProgramThatOverstaysIsKilledWithWhatItStarted)
{
    TempFolder folder(TempFolder::Use::Plain);
    auto start = std::chrono::steady_clock::now();
    TCommandResult result =
        RunCommand(Shell(), {"-c", "sleep 30 & echo $! > " + (folder / "child") + "; sleep 30"}, "", 300ms);
    EXPECT_TRUE(result.timedOut);
    EXPECT_EQ(result.exitCode, -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    std::string child = folder.Read("child");
    ASSERT_FALSE(child.empty());
    child.pop_back();
    auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!ProcessGone(child) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(ProcessGone(child));
}

TEST(RunCommand, AMissingProgramDoesNotStart)
{
    TCommandResult result = RunCommand("/nonexistent/nmcli", {}, "", 1s);
    EXPECT_FALSE(result.started);
    EXPECT_NE(result.failure.find("/nonexistent/nmcli"), std::string::npos);
}

}  // namespace
