#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/datetime.h"
#include "core/mainthread.h"
#include "core/settings.h"
#include "core/urldatabase.h"
#include "grab/grabstate.h"
#include "schedule/scheduletimings.h"
#include "schedule/watchdog.h"
#include "schedulekit.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string kSeparator(60, '-');

struct TestAccount : TDialAccount {
    std::string telephone = "5551234";
    std::string UserName() const override { return "alice"; }
    std::string Password() const override { return "secret"; }
    std::string Telephone() const override { return telephone; }
};

// What the scheduler handed to the site run, and what the grab state said meanwhile.
struct SiteCall {
    std::string url;
    int level = 0;
    bool cross = false;
    bool quick = false;
    std::string currentURL;
    std::string currentAlias;
    TDateTime siteStart = 0;
    bool stopFlag = true;
};

// The scheduler with a stand-in for the grab of a site.
class WatchDogTest : public ::testing::Test {
protected:
    ~WatchDogTest() override { watchDog.reset(); }

    void AddStation(const std::string& alias, TDateTime desired, int kind = 1)
    {
        kit.AddStation({alias, Url(alias), desired, 3, true, kind});
    }
    static std::string Url(const std::string& alias) { return "http://" + alias + ".test/"; }
    static std::string Named(const std::string& alias) { return "(" + alias + "-" + Url(alias) + ")"; }

    void Start()
    {
        watchDog = std::make_unique<TWatchDog>(*kit.dm, account, [this](const std::string& url, int level, bool cross,
                                                                        bool quick, TGrabScheduler& scheduler) {
            return RunSite(url, level, cross, quick, scheduler);
        });
        watchDog->Start();
    }
    int RunSite(const std::string& url, int level, bool cross, bool quick, TGrabScheduler& scheduler)
    {
        TGrabState& state = GrabState();
        SiteCall call{url, level, cross, quick, state.CurrentSiteURL(), state.CurrentAlias(), state.SiteStart,
                      state.StopFlag};
        EXPECT_FALSE(inSite.exchange(true)) << "two sites at once";
        if (during)
            during(scheduler);
        inSite = false;
        std::lock_guard guard(lock);
        calls.push_back(call);
        if (results.empty())
            return 0;
        int result = results.front();
        results.pop_front();
        return result;
    }
    std::vector<SiteCall> Calls()
    {
        std::lock_guard guard(lock);
        return calls;
    }
    void RunUntilNothingDue()
    {
        Start();
        ASSERT_TRUE(WaitUntil([this] { return kit.NothingDue(); }));
        watchDog->Terminate();
        watchDog->WaitFor();
    }
    TTable& Station(const std::string& alias) { return kit.Station(alias); }
    std::vector<std::string> LogTexts() { return kit.LogTexts(); }

    ScheduleFixture kit;
    ScriptedUi& ui = kit.ui;
    TestAccount account;
    std::mutex lock;
    std::vector<SiteCall> calls;
    std::deque<int> results;
    std::function<void(TGrabScheduler&)> during;
    std::atomic<bool> inSite{false};
    std::unique_ptr<TWatchDog> watchDog;
};

TEST_F(WatchDogTest, GrabsADueEntryRecordsItAndMovesItOn)
{
    TTable& see = kit.dm->seeTab();
    see.Append();
    see.FieldByName("URL").SetAsString(Url("site"));
    see.FieldByName("Alias").SetAsString("old name");
    see.FieldByName("last_date").SetAsDateTime(EncodeDate(2020, 1, 1));
    see.FieldByName("kind_serial").SetAsInteger(5);
    see.Post();
    see.SetFilter("kind_Serial=3");
    Settings().RemindFetchOver = true;
    GrabState().StopFlag = true;  // left from a site the user stopped
    during = [](TGrabScheduler&) { Synchronize([] { UrlDatabase().AddPending("http://site.test/a.html", 1); }); };
    TDateTime desired = AnHourAgo();
    AddStation("site", desired, 4);
    CivilTime now = DecodeDateTime(Now());
    now.millisecond = 0;
    TDateTime before = EncodeDateTime(now);

    RunUntilNothingDue();

    std::vector<SiteCall> made = Calls();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].url, Url("site"));
    EXPECT_EQ(made[0].level, 3);
    EXPECT_TRUE(made[0].cross);
    EXPECT_FALSE(made[0].quick);
    EXPECT_EQ(made[0].currentURL, Url("site"));
    EXPECT_EQ(made[0].currentAlias, "site");
    EXPECT_GE(made[0].siteStart, before);
    EXPECT_FALSE(made[0].stopFlag);
    EXPECT_EQ(GrabState().CurrentSiteURL(), "");
    EXPECT_EQ(UrlDatabase().PendingCount() + UrlDatabase().KnownCount(), 0u);

    // The row of the same address is updated in place, outside the category shown.
    EXPECT_EQ(see.Filter(), "kind_Serial=3");
    EXPECT_TRUE(see.Filtered());
    see.SetFiltered(false);
    ASSERT_EQ(see.RecordCount(), 1);
    EXPECT_EQ(see.FieldByName("Alias").AsString(), "site");
    EXPECT_EQ(see.FieldByName("kind_serial").AsInteger(), 4);
    EXPECT_EQ(see.FieldByName("last_date").AsDateTime(), Today());

    TTable& station = Station("site");
    EXPECT_EQ(station.FieldByName("StatusCode").AsInteger(), 1);
    EXPECT_EQ(DateTimeToText(station.FieldByName("desireDateTime").AsDateTime()), DateTimeToText(desired + 1));
    EXPECT_EQ(DateTimeToText(station.FieldByName("NextDesireDateTime").AsDateTime()), DateTimeToText(desired + 2));
    EXPECT_GE(station.FieldByName("overDateTime").AsDateTime(), before);

    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"預約排程開始" + Named("site"), "下載成功" + Named("site"),
                                                     "預約排程結束" + Named("site"), kSeparator}));
    EXPECT_TRUE(InOrder(ui.Shown(), {"animate: on", "status: 準備下載: " + Url("site"), "animate: off",
                                      "finished: " + Url("site"), "status: 預約排程結束" + Named("site"),
                                      "title: 預約排程結束" + Named("site")}));
}

TEST_F(WatchDogTest, EntriesDueTogetherRunInTurnAndTheOutcomeSetsTheirStatus)
{
    TDateTime desired = AnHourAgo();
    AddStation("one", desired);
    AddStation("two", desired);
    results = {1, 2};

    RunUntilNothingDue();

    std::vector<SiteCall> made = Calls();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].url, Url("one"));  // the table's natural order
    EXPECT_EQ(made[1].url, Url("two"));
    EXPECT_EQ(Station("one").FieldByName("StatusCode").AsInteger(), 2);
    EXPECT_EQ(Station("two").FieldByName("StatusCode").AsInteger(), 0);
    EXPECT_FALSE(Station("two").FieldByName("overDateTime").IsNull());
    TTable& see = kit.dm->seeTab();
    see.Refresh();
    EXPECT_TRUE(see.Locate("URL", {Url("one")}));
    EXPECT_FALSE(see.Locate("URL", {Url("two")}));
    std::vector<std::string> log = LogTexts();
    EXPECT_EQ(Count(log, "下載中斷" + Named("one")), 1);
    EXPECT_EQ(Count(log, "下載失敗" + Named("two")), 1);
    EXPECT_EQ(Count(log, kSeparator), 2);
}

TEST_F(WatchDogTest, OnDialUpTheSiteIsGrabbedBetweenDialAndHangUp)
{
    kit.UseDialOnTheSimulatedService();
    TProfileFile sim("rassim.ini");
    bool connectedDuringGrab = false;
    during = [&](TGrabScheduler&) { connectedDuringGrab = sim.ReadString("connections", "1", "") == "5551234"; };
    AddStation("site", AnHourAgo());

    RunUntilNothingDue();

    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_TRUE(connectedDuringGrab);
    EXPECT_TRUE(sim.ReadSection("connections").empty());
    EXPECT_TRUE(InOrder(ui.Shown("status"), {"第1次嘗試撥號網路", "準備下載: " + Url("site"), "嘗試掛斷撥號網路",
                                             "已經掛斷撥號網路"}));
}

TEST_F(WatchDogTest, WithoutAConnectionNothingIsGrabbedAndTheEntryMovesOn)
{
    kit.UseDialOnTheSimulatedService();
    account.telephone = "";
    TDateTime desired = AnHourAgo();
    AddStation("site", desired);

    RunUntilNothingDue();

    EXPECT_TRUE(Calls().empty());
    std::vector<std::string> log = LogTexts();
    EXPECT_EQ(Count(log, "請檢查你的撥號網路是否正常?"), 1);
    EXPECT_EQ(Count(log, "網路設定有誤"), 1);
    EXPECT_EQ(Count(log, "預約排程結束" + Named("site")), 1);
    EXPECT_TRUE(ui.WasShown("message", "請檢查你的撥號網路是否正常?"));
    EXPECT_FALSE(ui.WasShown("status", "嘗試掛斷撥號網路"));
    TTable& station = Station("site");
    EXPECT_EQ(DateTimeToText(station.FieldByName("desireDateTime").AsDateTime()), DateTimeToText(desired + 1));
    EXPECT_EQ(station.FieldByName("StatusCode").AsInteger(), 0);
}

TEST_F(WatchDogTest, EndsPromptlyFromTheIdleWaitAndFromASite)
{
    ResetScheduleTimings();  // the program's own 5 s between idle polls
    Start();
    WaitUntil([] { return false; }, std::chrono::milliseconds(200));
    Clock::time_point asked = Clock::now();
    watchDog->Terminate();
    watchDog->WaitFor();
    EXPECT_LT(Clock::now() - asked, std::chrono::seconds(1));

    during = [](TGrabScheduler& scheduler) {
        Clock::time_point limit = Clock::now() + std::chrono::seconds(10);
        while (!scheduler.EndRequested() && Clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    };
    results = {2};
    TDateTime desired = AnHourAgo();
    AddStation("site", desired);
    Start();
    ASSERT_TRUE(WaitUntil([this] { return inSite.load(); }));
    asked = Clock::now();
    watchDog->Terminate();
    watchDog->WaitFor();
    EXPECT_LT(Clock::now() - asked, std::chrono::seconds(1));
    EXPECT_EQ(Count(LogTexts(), "預約排程結束" + Named("site")), 1);
    EXPECT_EQ(DateTimeToText(Station("site").FieldByName("desireDateTime").AsDateTime()),
              DateTimeToText(desired + 1));
}

TEST_F(WatchDogTest, AnEndingSchedulerAsksNoReminderAndLeavesTheEntryDue)
{
    Settings().RemindForLoad = true;
    TDateTime desired = AnHourAgo();
    AddStation("site", desired);
    Start();
    // The main thread is busy for a while, as a closing window is, so the scheduler's
    // question waits for it; then the window asks the scheduler to end and waits.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    watchDog->Terminate();
    watchDog->WaitFor();
    EXPECT_TRUE(kit.ui.Shown("grab-now").empty());
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(Count(LogTexts(), "預約排程開始" + Named("site")), 0);
    EXPECT_EQ(DateTimeToText(Station("site").FieldByName("desireDateTime").AsDateTime()), DateTimeToText(desired));
}

TEST_F(WatchDogTest, WaitsForTheScheduleFileBeforeItPolls)
{
    AddStation("site", AnHourAgo());
    kit.dm->tabStation().Close();
    kit.dm->tabForTel().Close();
    std::string station = kit.home / "data/station.db";
    std::string kept = kit.home / "data/station.kept";
    ASSERT_FALSE(std::filesystem::exists(station + "-wal"));
    std::filesystem::rename(station, kept);

    Start();
    WaitUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_TRUE(Calls().empty());
    EXPECT_FALSE(watchDog->Finished());

    std::filesystem::rename(kept, station);
    kit.dm->tabStation().Open();
    kit.dm->tabForTel().Open();
    EXPECT_TRUE(WaitUntil([this] { return Calls().size() == 1; }));
}

TEST_F(WatchDogTest, StatusReachesTheWindowOnlyWhenItMayShowIt)
{
    TWatchDog idle(*kit.dm, account, [](const std::string&, int, bool, bool, TGrabScheduler&) { return 0; });

    MainWindowReady() = false;
    idle.Status("a");
    MainWindowReady() = true;
    idle.Status("b");
    idle.Status("");
    idle.Animation(true);
    EXPECT_EQ(ui.Shown(), (std::vector<std::string>{"title: a", "status: b", "title: b", "title: ", "animate: on"}));

    ui.Clear();
    idle.Terminate();
    idle.Status("c");
    idle.Animation(false);
    EXPECT_TRUE(ui.Shown().empty());
    EXPECT_EQ(idle.StatusText(), "c");
}

}  // namespace
