#include <memory>
#include <string>

#include <QTest>
#include <gtest/gtest.h>

#include "core/settings.h"
#include "core/text.h"
#include "data/field.h"
#include "data/sqliteconnection.h"
#include "grab/grabstate.h"
#include "support/scriptedui.h"
#include "ui/dbedit.h"
#include "ui/fmfavor.h"
#include "ui/fmwww.h"
#include "ui/phonebookcommands.h"
#include "uitestkit.h"

namespace {

const std::string kMoea = "http://www.moea.gov.tw/";

class PhoneBookCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WritePicture(folder.Home(), "info.bmp", QSize(16, 16), Qt::blue);
        Book().SetFilter("kind_Serial=1");
        ASSERT_EQ(Field("URL"), kMoea);
    }

    void TearDown() override
    {
        Settings() = settings;
        GrabState().SetCurrentSiteURL("");
        schedule.reset();
        station.reset();
    }

    TTable& Book() { return folder.Data().telStation(); }
    TTable& Station() { return folder.Data().tabStation(); }
    std::string Field(const char* name) { return Book().FieldByName(name).AsString(); }

    // Entries of station.db with this address in any letter case, of any category.
    int Scheduled(const std::string& url)
    {
        int count = 0;
        Station().SetFiltered(false);
        for (Station().First(); !Station().Eof(); Station().Next())
            count += SameText(Station().FieldByName("URL").AsString(), url);
        Station().SetFiltered(true);
        return count;
    }

    // A schedule entry made the way the schedule dialog's OK makes one.
    void Schedule(const std::string& url, int kind)
    {
        WhenModal([this](QWidget*) { schedule->BtnOK->click(); });
        Station().Append();
        Station().FieldByName("URL").SetAsString(url);
        Station().FieldByName("Alias").SetAsString("排程");
        Station().FieldByName("kind_serial").SetAsInteger(kind);
        ScheduleDialog().Prepare();
        ASSERT_EQ(schedule->exec(), QDialog::Accepted);
        Station().Post();
        Book().Refresh();
    }

    TfmWWW& ScheduleDialog()
    {
        if (!schedule)
            schedule = std::make_unique<TfmWWW>(folder.Data());
        return *schedule;
    }
    TfmFavor& StationDialog()
    {
        if (!station)
            station = std::make_unique<TfmFavor>(Book(), folder.Data().kindTab());
        return *station;
    }

    TSettings settings = Settings();
    ScriptedUi ui;
    DataFolder folder;
    std::unique_ptr<TfmWWW> schedule;
    std::unique_ptr<TfmFavor> station;
    TPhoneBookCommands commands{folder.Data(), [this]() -> TfmWWW& { return ScheduleDialog(); },
                                [this]() -> TfmFavor& { return StationDialog(); }};
};

TEST_F(PhoneBookCommandsTest, PutOnSchedulePostsTheStationsEntryAndTheTickShows)
{
    Settings().idefaultDepth = 3;
    Settings().bdefaultCross = true;
    EXPECT_TRUE(commands.HasStations());
    EXPECT_FALSE(commands.CurrentScheduled());
    std::string depth;
    WhenModal([&](QWidget*) {
        depth = schedule->EdtLayout->text().toStdString();
        EXPECT_EQ(schedule->dbEdtURL->text().toStdString(), kMoea);
        schedule->BtnOK->click();
    });
    commands.PutOnSchedule();
    EXPECT_EQ(depth, "3");
    EXPECT_EQ(Station().State(), TDataSetState::Browse);
    ASSERT_TRUE(Station().Locate("URL", {kMoea}));
    EXPECT_EQ(Station().FieldByName("Alias").AsString(), "經濟部");
    EXPECT_EQ(Station().FieldByName("kind_serial").AsInteger(), 1);
    EXPECT_TRUE(Station().FieldByName("Cross").AsBoolean());
    EXPECT_EQ(Station().FieldByName("Depth").AsInteger(), 3);
    EXPECT_EQ(Field("URL"), kMoea);
    EXPECT_TRUE(commands.CurrentScheduled());
    EXPECT_TRUE(ui.Shown().empty());
}

TEST_F(PhoneBookCommandsTest, PutOnScheduleCancelledLeavesNoEntry)
{
    WhenModal([&](QWidget*) { schedule->BtnCancel->click(); });
    commands.PutOnSchedule();
    EXPECT_EQ(Station().State(), TDataSetState::Browse);
    EXPECT_EQ(Scheduled(kMoea), 0);
    EXPECT_FALSE(commands.CurrentScheduled());
}

TEST_F(PhoneBookCommandsTest, APostErrorIsShownWithItsCodeAndCancelsTheEntry)
{
    {
        TSqliteConnection file(Station().FilePath(), "station");
        file.Exec("CREATE TRIGGER refuse BEFORE INSERT ON station BEGIN SELECT RAISE(ABORT, 'full'); END");
    }
    WhenModal([&](QWidget*) { schedule->BtnOK->click(); });
    commands.PutOnSchedule();
    EXPECT_TRUE(ui.WasShown("message", "posttabStation發生錯誤"));
    auto errors = ui.Shown("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("錯誤代碼:main 775", 0), 0u) << errors[0];
    EXPECT_NE(errors[0].find("full"), std::string::npos) << errors[0];
    EXPECT_EQ(Station().State(), TDataSetState::Browse);
    EXPECT_EQ(Scheduled(kMoea), 0);
}

TEST_F(PhoneBookCommandsTest, TakeOffScheduleFindsTheEntryInAnyCategoryWithoutRegardToCase)
{
    Schedule(kMoea, 1);
    Schedule("http://WWW.MOEA.GOV.TW/", 2);
    Schedule("http://www.other.com/", 1);
    EXPECT_TRUE(commands.CurrentScheduled());
    Station().SetFilter("kind_Serial=3");

    ui.Answer(false);
    commands.TakeOffSchedule();
    EXPECT_TRUE(ui.WasShown("ask", "你確定要取消這個預約排程?\r\r站台:經濟部"));
    EXPECT_EQ(Scheduled(kMoea), 2);

    // One entry goes at a time, whatever the letter case of its address.
    ui.Answer(true);
    commands.TakeOffSchedule();
    EXPECT_EQ(Scheduled(kMoea), 1);
    EXPECT_EQ(Scheduled("http://www.other.com/"), 1);
    EXPECT_TRUE(Station().Filtered());
    EXPECT_EQ(Station().Filter(), "kind_Serial=3");
    ui.Answer(true);
    commands.TakeOffSchedule();
    EXPECT_EQ(Scheduled(kMoea), 0);
    EXPECT_FALSE(commands.CurrentScheduled());
}

TEST_F(PhoneBookCommandsTest, TheStationBeingGrabbedIsNotTakenOffEditedOrDeleted)
{
    Schedule(kMoea, 1);
    GrabState().SetCurrentSiteURL("HTTP://WWW.Moea.gov.tw");
    commands.TakeOffSchedule();
    commands.EditStation();
    commands.DeleteStation();
    EXPECT_EQ(ui.Shown(), (std::vector<std::string>{
                              "warning: 正在下載當中,此時不可以取消預約排程",
                              "warning: 正在下載當中,此時不可以修改預約排程",
                              "warning: 正在下載當中,此時不可以刪除預約排程",
                          }));
    EXPECT_EQ(Scheduled(kMoea), 1);
    EXPECT_EQ(Field("URL"), kMoea);
    EXPECT_EQ(Book().State(), TDataSetState::Browse);
}

TEST_F(PhoneBookCommandsTest, AddStationPostsInTheGivenCategoryOrDropsTheRowOnAbort)
{
    int before = Book().RecordCount();
    WhenModal([&](QWidget*) {
        station->dbEdtAlias->setText("新站台");
        station->dbEdtURL->setText("http://www.new.example.com/");
        station->BitBtn1->click();
    });
    commands.AddStation(1);
    EXPECT_EQ(Book().State(), TDataSetState::Browse);
    EXPECT_EQ(Book().RecordCount(), before + 1);
    ASSERT_TRUE(Book().Locate("URL", {"http://www.new.example.com/"}));
    EXPECT_EQ(Book().FieldByName("kind_serial").AsInteger(), 1);

    WhenModal([&](QWidget*) { station->BitBtn2->click(); });
    commands.AddStation(1);
    EXPECT_EQ(Book().State(), TDataSetState::Browse);
    EXPECT_EQ(Book().RecordCount(), before + 1);
}

TEST_F(PhoneBookCommandsTest, EditStationPostsOnOkAndKeepsTheStationOnAbort)
{
    WhenModal([&](QWidget*) {
        station->dbEdtAlias->setText("經濟部網站");
        station->BitBtn2->click();
    });
    commands.EditStation();
    EXPECT_EQ(Book().State(), TDataSetState::Browse);
    EXPECT_EQ(Field("alias"), "經濟部");

    WhenModal([&](QWidget*) {
        station->dbEdtAlias->setText("經濟部網站");
        station->BitBtn1->click();
    });
    commands.EditStation();
    EXPECT_EQ(Book().State(), TDataSetState::Browse);
    Book().Refresh();
    ASSERT_TRUE(Book().Locate("URL", {kMoea}));
    EXPECT_EQ(Field("alias"), "經濟部網站");
}

TEST_F(PhoneBookCommandsTest, DeleteStationAsksAndKeepsTheScheduleEntry)
{
    Schedule(kMoea, 1);
    int before = Book().RecordCount();
    ui.Answer(false);
    commands.DeleteStation();
    EXPECT_TRUE(ui.WasShown("ask", "你確定要刪除站台?\r\r站台:經濟部"));
    EXPECT_EQ(Book().RecordCount(), before);

    ui.Answer(true);
    commands.DeleteStation();
    EXPECT_EQ(Book().RecordCount(), before - 1);
    EXPECT_FALSE(Book().Locate("URL", {kMoea}));
    EXPECT_EQ(Scheduled(kMoea), 1);
}

TEST_F(PhoneBookCommandsTest, AddToFavouritesTwiceGivesTwoCopiesInCategoryTen)
{
    std::string description = Field("DESCRIPTION");
    commands.AddToFavourites();
    Book().SetFilter("kind_Serial=10");
    ASSERT_EQ(Book().RecordCount(), 1);
    // The copy of a copy is one more.
    commands.AddToFavourites();
    EXPECT_EQ(Book().State(), TDataSetState::Browse);
    ASSERT_EQ(Book().RecordCount(), 2);
    for (Book().First(); !Book().Eof(); Book().Next()) {
        EXPECT_EQ(Field("URL"), kMoea);
        EXPECT_EQ(Field("ALIAS"), "經濟部");
        EXPECT_EQ(Field("DESCRIPTION"), description);
        EXPECT_EQ(Book().FieldByName("KIND_SERIAL").AsInteger(), 10);
    }
}

TEST_F(PhoneBookCommandsTest, AnEmptyBookHasNoCurrentStationToActOn)
{
    Book().SetFilter("kind_Serial=10");
    EXPECT_FALSE(commands.HasStations());
    EXPECT_FALSE(commands.CurrentScheduled());
    commands.PutOnSchedule();
    commands.TakeOffSchedule();
    commands.EditStation();
    commands.DeleteStation();
    commands.AddToFavourites();
    EXPECT_TRUE(ui.Shown().empty());
    EXPECT_TRUE(Book().IsEmpty());
    EXPECT_TRUE(Station().IsEmpty());
}

}  // namespace
