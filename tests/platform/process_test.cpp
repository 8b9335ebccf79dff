#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/process.h"
#include "support/tempfolder.h"

namespace {

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
