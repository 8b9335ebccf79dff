#include <string>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

#include "data/table.h"
#include "grab/grabstate.h"
#include "schedule/nexttime.h"
#include "ui/categorytabs.h"
#include "ui/dbedit.h"
#include "ui/fmwww.h"
#include "ui/picturebutton.h"
#include "ui/radiogroup.h"
#include "ui/recordscrollbar.h"
#include "ui/schedulepage.h"
#include "ui/statuscelldelegate.h"
#include "mainwindowkit.h"

namespace {

class SchedulePageTest : public ::testing::Test, public MainWindowFixture {
protected:
    void TearDown() override { GrabState().SetCurrentSiteURL(""); }

    // The window on the schedule page.
    void OpenSchedule()
    {
        Open();
        QTest::mouseClick(Window().PaintBox(2), Qt::LeftButton);
    }
    TSchedulePage& Page() { return *Window().panSchedule; }
    TTestGrid& Grid() { return *Page().Grid(); }

    void ClickTitle(int column)
    {
        Grid().scrollTo(Grid().model()->index(0, column));
        QHeaderView* titles = Grid().horizontalHeader();
        QPoint at(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2, titles->height() / 2);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, at);
    }

    std::string Field(const std::string& name) { return Station().FieldByName(name).AsString(); }

    std::vector<std::string> Aliases()
    {
        std::vector<std::string> aliases;
        for (int row = 0; row < Station().RecordCount(); ++row)
            aliases.push_back(Grid().model()->index(row, 1).data().toString().toStdString());
        return aliases;
    }
};

TEST_F(SchedulePageTest, DownloadNowRefusesTheEntryBeingGrabbedHoweverItsAddressIsWritten)
{
    AddEntry({"example", "http://www.example.com/news", HoursFromNow(24)});
    OpenSchedule();
    std::string desired = Field("desireDateTime");
    for (const char* current : {"http://www.example.com/news", "HTTP://WWW.Example.COM/news", "http://www.example.com/news/"}) {
        GrabState().SetCurrentSiteURL(current);
        ui.Clear();
        Page().DownloadNow();
        EXPECT_EQ(ui.Shown("warning"), (std::vector<std::string>{"已經正在下載當中"})) << current;
        EXPECT_EQ(Field("desireDateTime"), desired);
        EXPECT_EQ(Station().State(), TDataSetState::Browse);
    }
    GrabState().SetCurrentSiteURL("http://www.example.com/other");
    ui.Clear();
    Page().DownloadNow();
    EXPECT_TRUE(ui.Shown("warning").empty());
}

TEST_F(SchedulePageTest, DownloadNowMakesTheEntryDueAndItsNextTimeADayLater)
{
    AddEntry({"example", "http://www.example.com/", HoursFromNow(48)});
    OpenSchedule();
    TDateTime before = Now();
    Window().mnuDownloadNow->trigger();
    TDateTime desired = Station().FieldByName("desireDateTime").AsDateTime();
    EXPECT_LE(desired, Now());
    EXPECT_GE(desired, before - 1.0 / 86400);
    TDateTime next = Station().FieldByName("NextDesireDateTime").AsDateTime();
    EXPECT_NEAR(next - desired, 1.0, 1.0 / 86400);
    EXPECT_EQ(Station().State(), TDataSetState::Browse);
}

TEST_F(SchedulePageTest, DeleteAsksAndRefusesTheEntryBeingGrabbed)
{
    AddEntry({"one", "http://www.one.com/", HoursFromNow(24)});
    AddEntry({"two", "http://www.two.com/", HoursFromNow(25)});
    OpenSchedule();
    Station().First();
    GrabState().SetCurrentSiteURL("http://WWW.ONE.COM");
    Page().DeleteSchedule();
    EXPECT_EQ(ui.Shown("warning"), (std::vector<std::string>{"正在下載當中,此時不可刪除"}));
    EXPECT_TRUE(ui.Shown("ask").empty());
    EXPECT_EQ(Station().RecordCount(), 2);

    GrabState().SetCurrentSiteURL("http://www.two.com/");
    ui.Answer(false);
    Page().DeleteSchedule();
    EXPECT_EQ(ui.Shown("ask"), (std::vector<std::string>{"你確定要移除這個預約排程嗎?\rhttp://www.one.com/"}));
    EXPECT_EQ(Station().RecordCount(), 2);
    ui.Answer(true);
    Page().DeleteSchedule();
    EXPECT_EQ(Station().RecordCount(), 1);
    EXPECT_EQ(Field("Alias"), "two");
}

TEST_F(SchedulePageTest, ChangeRefusesTheEntryBeingGrabbed)
{
    AddEntry({"one", "http://www.one.com/", HoursFromNow(24)});
    OpenSchedule();
    GrabState().SetCurrentSiteURL("http://www.one.com");
    Page().ChangeSchedule();
    EXPECT_EQ(ui.Shown("warning"), (std::vector<std::string>{"正在下載當中,此時不可修改"}));
    EXPECT_EQ(Station().State(), TDataSetState::Browse);
    EXPECT_FALSE(Window().fmWWW().isVisible());
}

TEST_F(SchedulePageTest, ANewEntryTakesTheCategoryOfTheTabOrOneForAll)
{
    Settings().idefaultDepth = 4;
    Settings().bdefaultCross = true;
    OpenSchedule();
    for (int tab : {0, 10}) {
        Page().TabSet()->setCurrentIndex(tab);
        std::string depthShown;
        WhenModal([this, tab, &depthShown](QWidget*) {
            TfmWWW& dialog = Window().fmWWW();
            depthShown = dialog.EdtLayout->text().toStdString();
            QTest::keyClicks(dialog.dbEdtAlias, QString("site %1").arg(tab));
            QTest::keyClicks(dialog.dbEdtURL, QString("www.tab%1.com").arg(tab));
            dialog.BtnOK->click();
        });
        Window().mnuAddSchedule->trigger();
        EXPECT_EQ(depthShown, "4");
        Page().TabSet()->setCurrentIndex(0);
        ASSERT_TRUE(Station().Locate("Alias", {"site " + std::to_string(tab)})) << tab;
        EXPECT_EQ(Station().FieldByName("kind_serial").AsInteger(), tab == 0 ? 1 : 10);
        EXPECT_EQ(Field("StatusCode"), "0");
        EXPECT_TRUE(Station().FieldByName("Cross").AsBoolean());
        EXPECT_EQ(Field("URL"), "http://www.tab" + std::to_string(tab) + ".com");
    }
    EXPECT_EQ(Station().RecordCount(), 2);
}

TEST_F(SchedulePageTest, ACancelledNewEntryLeavesNoRow)
{
    OpenSchedule();
    WhenModal([this](QWidget*) { Window().fmWWW().BtnCancel->click(); });
    Page().AddSchedule();
    EXPECT_EQ(Station().RecordCount(), 0);
    EXPECT_EQ(Station().State(), TDataSetState::Browse);
}

TEST_F(SchedulePageTest, AWeeklyEntryReopensWithItsDayTimeDepthAndMode)
{
    ScheduleEntry weekly{"weekly", "http://www.weekly.com/", EncodeDateTime({2030, 5, 8, 7, 45, 0, 0})};
    weekly.frequency = "rdbweekly";
    weekly.dayType = 4;
    weekly.quick = true;
    weekly.depth = 3;
    AddEntry(weekly);
    OpenSchedule();
    struct Shown {
        bool weekly = false;
        bool weekdayEnabled = false;
        int weekday = -1;
        std::string hour, minute, depth;
        int mode = -1;
    } shown;
    WhenModal([this, &shown](QWidget*) {
        TfmWWW& dialog = Window().fmWWW();
        shown = {dialog.RdBWeekly->isChecked(), dialog.CmBWeekly->isEnabled(), dialog.CmBWeekly->currentIndex(),
                 dialog.edtTime->text().toStdString(), dialog.edtTime1->text().toStdString(),
                 dialog.EdtLayout->text().toStdString(), dialog.RdGMode->ItemIndex()};
        dialog.BtnCancel->click();
    });
    Window().mnuChangeSchedule->trigger();
    EXPECT_TRUE(shown.weekly);
    EXPECT_TRUE(shown.weekdayEnabled);
    EXPECT_EQ(shown.weekday, 3);
    EXPECT_EQ(shown.hour, "7");
    EXPECT_EQ(shown.minute, "45");
    EXPECT_EQ(shown.depth, "3");
    EXPECT_EQ(shown.mode, 0);
    EXPECT_EQ(Station().State(), TDataSetState::Browse);
    EXPECT_EQ(Field("desireDateTime"), "2030/05/08 07:45:00");
}

TEST_F(SchedulePageTest, TheDownloadedColumnShowsTheMarkOfEachStatusCode)
{
    for (int status : {-1, 0, 1, 2, 3, 4})
        AddEntry({"status " + std::to_string(status), "http://www.s.com/", HoursFromNow(24 + status), status});
    OpenSchedule();
    auto* delegate = dynamic_cast<TStatusCellDelegate*>(Grid().itemDelegateForColumn(0));
    ASSERT_NE(delegate, nullptr);
    QImage shot = Grid().viewport()->grab().toImage();
    const QColor expected[] = {Qt::white, Qt::white, kTickColour, kFailureColour, kCrossColour, Qt::white};
    for (int row = 0; row < 6; ++row) {
        QRect cell = Grid().visualRect(Grid().model()->index(row, 0));
        // Every mark is placed as the largest (16 x 16) would be, so each covers its origin.
        QPoint origin = delegate->PictureOrigin(cell);
        EXPECT_EQ(shot.pixelColor(origin + QPoint(1, 1)), expected[row]) << "row " << row;
        EXPECT_EQ(shot.pixelColor(cell.topLeft() + QPoint(1, 1)), QColor(Qt::white)) << "row " << row;
    }
}

TEST_F(SchedulePageTest, ClicksOnTheNameTitleSortUpDownAndUpAgain)
{
    for (const char* alias : {"beta", "Alpha", "gamma"})
        AddEntry({alias, std::string("http://www.") + alias + ".com/", HoursFromNow(24)});
    OpenSchedule();
    ClickTitle(1);
    EXPECT_EQ(Station().IndexName(), "alias1");
    EXPECT_EQ(Aliases(), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    ClickTitle(1);
    EXPECT_EQ(Station().IndexName(), "alias2");
    EXPECT_EQ(Aliases(), (std::vector<std::string>{"gamma", "beta", "Alpha"}));
    ClickTitle(1);
    EXPECT_EQ(Station().IndexName(), "alias1");
    EXPECT_EQ(ui.Shown("busy"), (std::vector<std::string>{"資料排序中  請稍待", "hidden", "資料排序中  請稍待", "hidden",
                                                           "資料排序中  請稍待", "hidden"}));
    ClickTitle(5);
    EXPECT_EQ(Station().IndexName(), "url1");
    ClickTitle(2);
    EXPECT_EQ(Station().IndexName(), "url1");
}

TEST_F(SchedulePageTest, RowKeysGoThroughTheRecordScrollBarAndDownOnTheLastRowToTheGrid)
{
    AddEntries(30);
    OpenSchedule();
    TRecordScrollBar& bar = *Page().ScrollBar();
    ASSERT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.pageStep(), 14);
    Station().First();
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_Down);
    EXPECT_EQ(Station().RecNo(), 2);
    EXPECT_EQ(bar.value(), 2);
    QTest::keyClick(&Grid(), Qt::Key_PageDown);
    EXPECT_EQ(Station().RecNo(), 16);
    EXPECT_EQ(bar.Tag(), 16);
    QTest::keyClick(&Grid(), Qt::Key_End);
    EXPECT_EQ(Station().RecNo(), 30);
    QTest::keyClick(&Grid(), Qt::Key_Down);
    EXPECT_EQ(Station().RecNo(), 30);
    EXPECT_EQ(Grid().currentIndex().row(), 29);
    QTest::keyClick(&Grid(), Qt::Key_Home);
    EXPECT_EQ(Station().RecNo(), 1);
    QTest::keyClick(&Grid(), Qt::Key_Up);
    EXPECT_EQ(Station().RecNo(), 1);
}

TEST_F(SchedulePageTest, TheRecordScrollBarMovesTheRecord)
{
    AddEntries(30);
    OpenSchedule();
    TRecordScrollBar& bar = *Page().ScrollBar();
    bar.setValue(10);
    EXPECT_EQ(Station().RecNo(), 10);
    EXPECT_EQ(bar.Tag(), 10);
    bar.setValue(30);
    EXPECT_EQ(Station().RecNo(), 30);
    bar.setValue(1);
    EXPECT_EQ(Station().RecNo(), 1);
    // A click in the grid moves the bar with the record.
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Grid().visualRect(Grid().model()->index(4, 1)).center());
    EXPECT_EQ(Station().RecNo(), 5);
    EXPECT_EQ(bar.value(), 5);
}

TEST_F(SchedulePageTest, ACategoryTabFiltersTheScheduleAndStartsAtItsTop)
{
    AddEntries(30);
    OpenSchedule();
    Page().ScrollBar()->setValue(12);
    ui.Clear();
    Page().TabSet()->setCurrentIndex(3);
    EXPECT_EQ(Station().Filter(), "kind_Serial=3");
    EXPECT_EQ(Station().RecordCount(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Grid().model()->index(row, 1).data().toString().toStdString(), "site " + std::to_string(row * 10 + 2));
    EXPECT_EQ(Page().ScrollBar()->value(), 1);
    EXPECT_EQ(Page().ScrollBar()->maximum(), 3);
    EXPECT_EQ(ui.Shown("busy"), (std::vector<std::string>{"切換網站分類  請稍待", "hidden"}));
    EXPECT_EQ(Page().NewRowCategory(), 3);
    Page().TabSet()->setCurrentIndex(0);
    EXPECT_EQ(Station().Filter(), "");
    EXPECT_EQ(Station().RecordCount(), 30);
    EXPECT_EQ(Page().NewRowCategory(), 1);
}

}  // namespace
