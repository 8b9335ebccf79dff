#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "schedule/storeddialaccount.h"
#include "schedule/watchdog.h"
#include "schedulekit.h"
#include "support/nginxserver.h"

namespace {

const std::string kSeparator(60, '-');

// The scheduler with the real grab of sites served by a local nginx.
class WatchDogGrab : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!NginxServer::Available())
            GTEST_SKIP() << "nginx is not installed";
        site.Write("one/index.html", "<html><a href=\"a.html\">a</a><img src=\"pic.gif\"></html>");
        site.Write("one/a.html", "<html>page a</html>");
        site.Write("one/pic.gif", "GIF89a");
        site.Write("two/index.html", "<html><a href=\"b.html\">b</a></html>");
        site.Write("two/b.html", "<html>page b</html>");
        site.Write("bare/index.html", "<html>no links at all</html>");
        nginx = std::make_unique<NginxServer>(site.Path());
        ASSERT_TRUE(nginx->Running()) << nginx->Error();
    }
    void TearDown() override { watchDog.reset(); }

    void AddStation(const std::string& alias, int depth = 1)
    {
        kit.AddStation({alias, Url(alias), AnHourAgo(), depth, false, 2});
    }
    std::string Url(const std::string& alias) const { return nginx->Url("/" + alias + "/index.html"); }
    std::string Named(const std::string& alias) const { return "(" + alias + "-" + Url(alias) + ")"; }
    bool Stored(const std::string& path) const
    {
        return std::filesystem::is_regular_file(kit.home / ("wwwData/127.0.0.1/" + path));
    }
    bool InReadingList(const std::string& alias)
    {
        TTable& see = kit.dm->seeTab();
        see.Refresh();
        return see.Locate("URL", {Url(alias)});
    }
    void RunUntilNothingDue()
    {
        watchDog = std::make_unique<TWatchDog>(*kit.dm, account);
        watchDog->Start();
        ASSERT_TRUE(WaitUntil([this] { return kit.NothingDue(); }, std::chrono::seconds(60)));
        watchDog->Terminate();
        watchDog->WaitFor();
    }

    ScheduleFixture kit;
    TStoredDialAccount account;
    TempFolder site{TempFolder::Use::Plain};
    std::unique_ptr<NginxServer> nginx;
    std::unique_ptr<TWatchDog> watchDog;
};

TEST_F(WatchDogGrab, ADueEntryIsGrabbedRecordedAndMovedOn)
{
    AddStation("one");
    TDateTime before = AnHourAgo() + 1.0 / 24;

    RunUntilNothingDue();

    EXPECT_TRUE(Stored("one/index.html"));
    EXPECT_TRUE(Stored("one/a.html"));
    EXPECT_TRUE(Stored("one/pic.gif"));
    EXPECT_TRUE(InReadingList("one"));
    EXPECT_EQ(kit.dm->seeTab().FieldByName("Alias").AsString(), "one");
    EXPECT_EQ(kit.dm->seeTab().FieldByName("kind_serial").AsInteger(), 2);
    std::vector<std::string> log = kit.LogTexts();
    EXPECT_TRUE(InOrder(log, {"預約排程開始" + Named("one"), "下載成功" + Named("one"), "預約排程結束" + Named("one"),
                              kSeparator}));
    TTable& station = kit.Station("one");
    EXPECT_EQ(station.FieldByName("StatusCode").AsInteger(), 1);
    EXPECT_GT(station.FieldByName("desireDateTime").AsDateTime(), Now());
    EXPECT_GE(station.FieldByName("overDateTime").AsDateTime(), before - 1.0 / 86400);
}

TEST_F(WatchDogGrab, AnEntryPutOffAtTheReminderIsNotGrabbed)
{
    Settings().RemindForLoad = true;
    kit.ui.Answer(false);  // "下次下載"
    AddStation("one");

    RunUntilNothingDue();

    EXPECT_FALSE(std::filesystem::exists(kit.home / "wwwData/127.0.0.1"));
    EXPECT_FALSE(InReadingList("one"));
    EXPECT_EQ(Count(kit.LogTexts(), "預約排程結束" + Named("one")), 0);
    TTable& station = kit.Station("one");
    EXPECT_EQ(station.FieldByName("StatusCode").AsInteger(), 0);
    EXPECT_GT(station.FieldByName("desireDateTime").AsDateTime(), Now());
}

TEST_F(WatchDogGrab, AHomePageWithoutLinksIsASiteDone)
{
    AddStation("bare", 3);

    RunUntilNothingDue();

    EXPECT_TRUE(Stored("bare/index.html"));
    EXPECT_TRUE(InReadingList("bare"));
    EXPECT_EQ(Count(kit.LogTexts(), "下載中斷" + Named("bare")), 0);
    EXPECT_EQ(Count(kit.LogTexts(), "下載成功" + Named("bare")), 1);
    EXPECT_EQ(kit.Station("bare").FieldByName("StatusCode").AsInteger(), 1);
}

TEST_F(WatchDogGrab, EntriesDueTogetherAreGrabbedOneAfterTheOther)
{
    AddStation("one");
    AddStation("two");

    RunUntilNothingDue();

    EXPECT_TRUE(Stored("one/a.html"));
    EXPECT_TRUE(Stored("two/b.html"));
    EXPECT_TRUE(InOrder(kit.LogTexts(), {"預約排程開始" + Named("one"), "下載成功" + Named("one"),
                                          "預約排程結束" + Named("one"), kSeparator, "預約排程開始" + Named("two"),
                                          "下載成功" + Named("two"), "預約排程結束" + Named("two"), kSeparator}));
    EXPECT_EQ(kit.Station("one").FieldByName("StatusCode").AsInteger(), 1);
    EXPECT_EQ(kit.Station("two").FieldByName("StatusCode").AsInteger(), 1);
}

}  // namespace
