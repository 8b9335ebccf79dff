#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "core/settings.h"
#include "grab/grabstate.h"
#include "platform/profilefile.h"
#include "schedule/dialcontrol.h"
#include "schedulekit.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string kMissing = "<missing>";
const std::string kCheckDialUp = "請檢查你的撥號網路是否正常?";

struct TestAccount : TDialAccount {
    std::string user = "alice";
    std::string password = "secret";
    std::string telephone = "5551234";
    std::string UserName() const override { return user; }
    std::string Password() const override { return password; }
    std::string Telephone() const override { return telephone; }
};

// The caller against the real dial program on the simulated service, with the waits cut.
class DialControlTest : public ::testing::Test {
protected:
    DialControlTest() { kit.UseDialOnTheSimulatedService(); }

    void UseDialScript(const std::string& body)
    {
        std::filesystem::remove(home / "dial");
        home.Write("dial", "#!/bin/sh\n" + body + "\n");
        ::chmod((home / "dial").c_str(), 0755);
        SetDialProgramForTest(home / "dial");
    }
    std::vector<std::string> Statuses()
    {
        std::lock_guard guard(statusLock);
        return statuses;
    }
    std::string Value(const std::string& section, const std::string& key) const
    {
        return exchange.ReadString(section, key, kMissing);
    }

    ScheduleFixture kit;
    TempFolder& home = kit.home;
    TestAccount account;
    std::mutex statusLock;
    std::vector<std::string> statuses;
    std::atomic<bool> ending{false};
    TDialControl control{account,
                         [this](const std::string& text) {
                             std::lock_guard guard(statusLock);
                             statuses.push_back(text);
                         },
                         [this] { return ending.load(); }};
    TProfileFile exchange{"autodial.ini"};
    TProfileFile sim{"rassim.ini"};
};

std::vector<std::string> Attempts(int count)
{
    std::vector<std::string> texts;
    for (int k = 1; k <= count; ++k)
        texts.push_back("第" + std::to_string(k) + "次嘗試撥號網路");
    return texts;
}

TEST_F(DialControlTest, OnALanNothingIsStarted)
{
    Settings().USE_lan = true;
    EXPECT_TRUE(control.EnsureConnection());
    EXPECT_FALSE(control.FinishingHangUp());
    EXPECT_FALSE(std::filesystem::exists(exchange.FileName()));
    EXPECT_TRUE(Statuses().empty());
}

TEST_F(DialControlTest, DialsOnceAndHangsUpAtTheEndOfTheRun)
{
    account.telephone = "555 1234";
    ASSERT_TRUE(control.EnsureConnection());
    EXPECT_TRUE(control.Dialled());
    EXPECT_TRUE(control.DialSuccess());
    EXPECT_EQ(Statuses(), Attempts(1));
    EXPECT_EQ(sim.ReadString("dialled", "user", kMissing), "alice");
    EXPECT_EQ(sim.ReadString("dialled", "password", kMissing), "secret");
    EXPECT_EQ(sim.ReadString("connections", "1", kMissing), "555 1234");
    EXPECT_EQ(Value("retValue", "processing"), "0");
    struct stat info {};
    ASSERT_EQ(::stat(exchange.FileName().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "autodial.ini holds the password";

    // The hang-up deletes success, so a normal hang-up reads as false.
    EXPECT_FALSE(control.FinishingHangUp());
    EXPECT_FALSE(control.HangUpSuccess());
    EXPECT_FALSE(sim.SectionExists("connections") && !sim.ReadSection("connections").empty());
    EXPECT_EQ(sim.ReadString("hungup", "handles", kMissing), "1");
    EXPECT_EQ(Value("retValue", "processing"), "0");
    EXPECT_EQ(Statuses().back(), "已經掛斷撥號網路");
}

TEST_F(DialControlTest, TheDialProgramIsTheOneBesideTheRunningProgram)
{
    // The program folder holds none: the one built beside this suite is started.
    ASSERT_FALSE(std::filesystem::exists(home / "dial"));
    control.Dial();
    EXPECT_TRUE(control.Dialled());
    EXPECT_EQ(sim.ReadString("connections", "1", kMissing), "5551234");
    control.HangUp();
}

TEST_F(DialControlTest, AfterAStopTheNextExchangeWaitsForTheEarlierDialProgram)
{
    std::string marker = home / "busy";
    std::string overlap = home / "overlap";
    // The hang-up is done before the dial would be, so a dial that starts beside it reads
    // the hang-up's answer.
    UseDialScript("mkdir '" + marker + "' 2>/dev/null || touch '" + overlap + "'\n"
                  + "if [ \"$1\" = 2 ]; then sleep 0.3; else sleep 0.6; fi\n" + "rmdir '" + marker
                  + "' 2>/dev/null\nexec '" + std::string(ZANVIK_BIN_DIR) + "/dial' \"$@\"");
    GrabState().StopFlag = true;
    Clock::time_point start = Clock::now();
    control.HangUp();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(250)) << "a stop ends the wait at once";
    GrabState().StopFlag = false;
    control.Dial();
    EXPECT_FALSE(std::filesystem::exists(overlap)) << "two dial programs ran at once";
    EXPECT_TRUE(control.Dialled()) << "the dial took another exchange's answer";
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(sim.ReadString("connections", "1", kMissing), "5551234") << "a late hang-up ended the new connection";
}

TEST_F(DialControlTest, ABlankTelephoneDialsNothingAndFailsAfterFiveAttempts)
{
    account.telephone = "   ";
    EXPECT_FALSE(control.EnsureConnection());
    EXPECT_EQ(Statuses(), Attempts(5));
    EXPECT_FALSE(control.Dialled());
    EXPECT_FALSE(exchange.SectionExists("parameters"));
    EXPECT_FALSE(sim.SectionExists("dialled"));
    EXPECT_EQ(Value("retValue", "processing"), "0");  // the hang-ups still ran
    EXPECT_TRUE(kit.ui.WasShown("message", kCheckDialUp));
    std::vector<std::string> log = kit.LogTexts();
    EXPECT_EQ(Count(log, kCheckDialUp), 1);
}

TEST_F(DialControlTest, AStopDuringTheWaitEndsItAndCountsAsConnected)
{
    UseDialScript("exec sleep 2 >/dev/null 2>&1");
    bool result = false;
    Clock::time_point start = Clock::now();
    std::thread caller([&] { result = control.EnsureConnection(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    GrabState().StopFlag = true;
    caller.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(result);
    EXPECT_FALSE(control.Dialled());
    EXPECT_EQ(Statuses(), Attempts(1));

    // The owner's end request ends a wait as well.
    GrabState().StopFlag = false;
    start = Clock::now();
    std::thread hanger([&] { control.HangUp(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ending = true;
    hanger.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

TEST_F(DialControlTest, ADialProgramThatEndsWithoutAnsweringIsAFailedAttempt)
{
    UseDialScript("exit 0");
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(control.EnsureConnection());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(control.DialSuccess());
    EXPECT_EQ(Value("retValue", "processing"), "1");
    EXPECT_EQ(Statuses(), Attempts(5));

    // Without a dial program nothing is waited for; success is read as we left it.
    std::filesystem::remove(home / "dial");
    control.Dial();
    EXPECT_FALSE(control.Dialled());
    EXPECT_FALSE(control.DialSuccess());
}

TEST_F(DialControlTest, ExchangesOfSeveralThreadsNeverOverlap)
{
    // Each run of the dial program holds a marker folder for a while before it does its
    // job; a second run that finds the marker there ran at the same time.
    std::string marker = home / "busy";
    std::string overlap = home / "overlap";
    UseDialScript("mkdir '" + marker + "' 2>/dev/null || touch '" + overlap + "'\nsleep 0.05\nrmdir '" + marker
                  + "'\nexec '" + std::string(ZANVIK_BIN_DIR) + "/dial' \"$@\"");
    std::thread dialler([&] {
        for (int i = 0; i < 3; ++i)
            control.Dial();
    });
    std::thread hanger([&] {
        for (int i = 0; i < 3; ++i)
            control.HangUp();
    });
    for (int i = 0; i < 2; ++i)
        control.HangUp();  // the main thread too, as the test dial does
    dialler.join();
    hanger.join();
    EXPECT_FALSE(std::filesystem::exists(overlap));
    EXPECT_EQ(Value("retValue", "processing"), "0");
}

}  // namespace
