#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/process.h"
#include "support/tempfolder.h"

// The suite is linked with waitpid wrapped: every call of the code under test comes here,
// so that a test can make calls for one child fail as a signal arriving meanwhile does.
extern "C" pid_t __real_waitpid(pid_t pid, int* status, int options);

namespace {

std::atomic<pid_t> interruptedChild{0};
std::atomic<int> interruptions{0};

}  // namespace

extern "C" pid_t __wrap_waitpid(pid_t pid, int* status, int options)
{
    if (pid == interruptedChild && interruptions > 0) {
        --interruptions;
        errno = EINTR;
        return -1;
    }
    return __real_waitpid(pid, status, options);
}

namespace {

TEST(Process, AWaitInterruptedByASignalIsTriedAgain)
{
    pid_t pid = SpawnProgram(FindOnPath("sh"), {"-c", "sleep 0.3; exit 4"});
    ASSERT_GT(pid, 0);
    interruptedChild = pid;
    interruptions = 1;
    EXPECT_TRUE(ProgramRunning(pid)) << "an interrupted look was taken for the end of the child";
    interruptions = 2;
    EXPECT_EQ(WaitProgram(pid), 4);
    interruptions = 0;
    interruptedChild = 0;
}

TEST(Process, SpawnedProgramsReportTheirExitCode)
{
    std::string shell = FindOnPath("sh");
    ASSERT_FALSE(shell.empty());
    pid_t pid = SpawnProgram(shell, {"-c", "exit 3"});
    ASSERT_GT(pid, 0);
    EXPECT_EQ(WaitProgram(pid), 3);
}

TEST(Process, ProgramRunningTurnsFalseWhenTheChildEnds)
{
    pid_t pid = SpawnProgram(FindOnPath("sh"), {"-c", "sleep 0.2; exit 5"});
    ASSERT_GT(pid, 0);
    int exitCode = -2;
    EXPECT_TRUE(ProgramRunning(pid, &exitCode));
    EXPECT_EQ(exitCode, -2);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ProgramRunning(pid, &exitCode) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(exitCode, 5);
}

TEST(Process, AMissingProgramDoesNotStart)
{
    EXPECT_EQ(SpawnProgram("/nonexistent/program", {}), -1);
    EXPECT_EQ(StartProgram("/nonexistent/program", {}), -1);
    EXPECT_EQ(FindOnPath("zanvik-no-such-program"), "");
}

TEST(Process, StartedProgramsRunWithTheirArguments)
{
    TempFolder folder(TempFolder::Use::Plain);
    std::string marker = folder / "marker";
    ASSERT_GT(StartProgram(FindOnPath("sh"), {"-c", "echo \"$0\" > " + marker, "two words"}), 0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ReadFile(marker).empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadFile(marker), "two words\n");
}

}  // namespace
