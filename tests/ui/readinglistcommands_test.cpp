#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/datetime.h"
#include "data/field.h"
#include "data/recordlocks.h"
#include "data/session.h"
#include "grab/grabstate.h"
#include "net/dns.h"
#include "support/scriptedui.h"
#include "support/undeletablefile.h"
#include "ui/readinglistcommands.h"
#include "uitestkit.h"

namespace {

const std::string kSite = "http://www.example.com/";

class ReadingListCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.Home().Write("dns.ini", "[www]\nwww.example.com=10.0.0.1\nother.example.com=10.0.0.2\n");
        cache = std::make_unique<TDNS>();
        SetHostCache(cache.get());
        Store("10.0.0.1/default.htm");
        Store("10.0.0.1/dir/page.htm");
        Store("10.0.0.2/default.htm");
    }

    void TearDown() override
    {
        GrabState().SetCurrentSiteURL("");
        SetHostCache(nullptr);
    }

    TTable& See() { return folder.Data().seeTab(); }
    TTable& Station() { return folder.Data().tabStation(); }
    void Store(const std::string& name) { folder.Home().Write("wwwData/" + name, name); }
    bool Stored(const std::string& name) { return std::filesystem::exists(folder.Home() / ("wwwData/" + name)); }

    // A grabbed site in the reading list, and its schedule entry in category 3.
    void Grabbed(const std::string& url)
    {
        See().Append();
        See().FieldByName("last_date").SetAsDateTime(Today());
        See().FieldByName("URL").SetAsString(url);
        See().FieldByName("Alias").SetAsString("站台");
        See().FieldByName("kind_serial").SetAsInteger(3);
        See().Post();
        Station().Append();
        Station().FieldByName("NextDesireDateTime").SetAsDateTime(Now());
        Station().FieldByName("URL").SetAsString(url);
        Station().FieldByName("kind_serial").SetAsInteger(3);
        Station().FieldByName("StatusCode").SetAsInteger(1);
        Station().Post();
        Station().SetFilter("kind_Serial=1");
        ASSERT_TRUE(See().Locate("URL", {url}));
    }

    // The status code of the entry with this address, -1 when there is none.
    int StatusOf(const std::string& url)
    {
        Station().SetFiltered(false);
        int status = Station().Locate("URL", {url}) ? Station().FieldByName("StatusCode").AsInteger() : -1;
        Station().SetFiltered(true);
        return status;
    }

    void ExpectRowGoneAndEntryMarked(const std::string& url)
    {
        EXPECT_FALSE(See().Locate("URL", {url}));
        EXPECT_EQ(StatusOf(url), 3);
        EXPECT_EQ(Station().Filter(), "kind_Serial=1");
        EXPECT_TRUE(Station().Filtered());
    }

    // Everything of the other server and of the program folder stays.
    void ExpectOthersKept()
    {
        EXPECT_TRUE(Stored("10.0.0.2/default.htm"));
        EXPECT_TRUE(std::filesystem::exists(folder.Home() / "data/favor.db"));
    }

    ScriptedUi ui;
    DataFolder folder;
    std::unique_ptr<TDNS> cache;
    TReadingListCommands commands{folder.Data()};
};

TEST_F(ReadingListCommandsTest, DeletesTheSitesFolderMarksItsEntryAndRemovesTheRow)
{
    Grabbed(kSite);
    ui.Answer(true);
    commands.DeleteGrabbedSite();
    EXPECT_EQ(ui.Shown(), (std::vector<std::string>{
                              "ask: 確定要刪除掉這個網頁的所有資料",
                              "busy: 正在刪掉網頁資料  請稍待",
                              "status: 網頁資料已刪除",
                              "busy: hidden",
                          }));
    EXPECT_FALSE(Stored("10.0.0.1"));
    ExpectOthersKept();
    ExpectRowGoneAndEntryMarked(kSite);
    EXPECT_FALSE(commands.HasSites());
}

TEST_F(ReadingListCommandsTest, NoKeepsEverythingAndTheSiteBeingGrabbedIsRefused)
{
    Grabbed(kSite);
    ui.Answer(false);
    commands.DeleteGrabbedSite();
    GrabState().SetCurrentSiteURL("HTTP://WWW.EXAMPLE.COM");
    commands.DeleteGrabbedSite();
    EXPECT_EQ(ui.Shown(), (std::vector<std::string>{
                              "ask: 確定要刪除掉這個網頁的所有資料",
                              "warning: 正在下載當中,此時不可刪除",
                          }));
    EXPECT_TRUE(Stored("10.0.0.1/default.htm"));
    EXPECT_TRUE(See().Locate("URL", {kSite}));
    EXPECT_EQ(StatusOf(kSite), 1);
}

TEST_F(ReadingListCommandsTest, AFolderAlreadyGoneStillRemovesTheRowAndMarksTheEntry)
{
    const std::string url = "http://www.example.com/gone/index.htm";
    Grabbed(url);
    ui.Answer(true);
    commands.DeleteGrabbedSite();
    EXPECT_TRUE(ui.WasShown("status", "網頁資料已不存在"));
    ExpectRowGoneAndEntryMarked(url);
    EXPECT_TRUE(Stored("10.0.0.1/dir/page.htm"));
}

TEST_F(ReadingListCommandsTest, WithoutStorePathOrCachedHostNothingIsDeletedButTheRowGoes)
{
    const std::string query = "http://www.example.com/cgi?x=1";
    Grabbed(query);
    ui.Answer(true);
    commands.DeleteGrabbedSite();
    EXPECT_TRUE(ui.WasShown("status", "這個網址沒有存放在本機的網頁資料,沒有刪除任何檔案"));
    ExpectRowGoneAndEntryMarked(query);

    const std::string uncached = "http://unknown.example.com/";
    Grabbed(uncached);
    ui.Answer(true);
    commands.DeleteGrabbedSite();
    EXPECT_TRUE(ui.WasShown("status", "找不到這個站台的網頁資料夾,沒有刪除任何檔案"));
    ExpectRowGoneAndEntryMarked(uncached);

    EXPECT_TRUE(Stored("10.0.0.1/default.htm"));
    EXPECT_TRUE(Stored("10.0.0.1/dir/page.htm"));
    ExpectOthersKept();
}

TEST_F(ReadingListCommandsTest, ALinkToAFolderOutsideGoesAndItsTargetSurvives)
{
    folder.Home().Write("precious/keep.htm", "keep");
    std::filesystem::create_directory_symlink(folder.Home() / "precious", folder.Home() / "wwwData/10.0.0.1/dir/out");
    Grabbed(kSite);
    ui.Answer(true);
    commands.DeleteGrabbedSite();
    EXPECT_FALSE(Stored("10.0.0.1"));
    EXPECT_EQ(folder.Home().Read("precious/keep.htm"), "keep");
    ExpectRowGoneAndEntryMarked(kSite);
}

TEST_F(ReadingListCommandsTest, FilesThatCannotBeRemovedAreCountedInTheStatusLine)
{
    Store("10.0.0.1/locked/stays.htm");
    UndeletableFile locked(folder.Home() / "wwwData/10.0.0.1/locked/stays.htm");
    if (!locked.Made())
        GTEST_SKIP() << "no file can be made undeletable here";
    Grabbed(kSite);
    ui.Answer(true);
    commands.DeleteGrabbedSite();
    EXPECT_TRUE(ui.WasShown("status", "網頁資料已刪除,但有 1 個檔案或資料夾無法刪除"));
    EXPECT_TRUE(Stored("10.0.0.1/locked/stays.htm"));
    EXPECT_FALSE(Stored("10.0.0.1/default.htm"));
    ExpectRowGoneAndEntryMarked(kSite);
}

TEST_F(ReadingListCommandsTest, AnEntryThatCannotBeMarkedDoesNotKeepTheRow)
{
    Grabbed(kSite);
    // Another session holds the entry; the user declines to wait for it.
    Station().SetFiltered(false);
    ASSERT_TRUE(Station().Locate("URL", {kSite}));
    TSession other("other");
    TRecordKey key = Station().CurrentKey();
    ASSERT_TRUE(RecordLocks().TryLock(key, &other));
    Station().SetFiltered(true);
    ui.Answer(true);
    ui.Answer(false);
    commands.DeleteGrabbedSite();
    RecordLocks().Unlock(key, &other);
    EXPECT_TRUE(ui.WasShown("ask", "排程資料庫鎖定中,是否再試一次"));
    EXPECT_FALSE(See().Locate("URL", {kSite}));
    EXPECT_EQ(StatusOf(kSite), 1);
    EXPECT_EQ(Station().State(), TDataSetState::Browse);
}

}  // namespace
