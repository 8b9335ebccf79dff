#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "data/table.h"
#include "grab/grabstate.h"
#include "ui/categorytabs.h"
#include "ui/dbedit.h"
#include "ui/dbmemo.h"
#include "ui/fmfavor.h"
#include "ui/fmwww.h"
#include "ui/phonepage.h"
#include "ui/picturebutton.h"
#include "ui/recordscrollbar.h"
#include "ui/statuscelldelegate.h"
#include "mainwindowkit.h"

namespace {

const int kShippedStations = 65;

class PhonePageTest : public ::testing::Test, public MainWindowFixture {
protected:
    void TearDown() override { GrabState().SetCurrentSiteURL(""); }

    // The window on the phone book page.
    void OpenPhoneBook()
    {
        Open();
        QTest::mouseClick(Window().PaintBox(3), Qt::LeftButton);
    }
    TPhonePage& Page() { return *Window().panTel; }
    TTestGrid& Grid() { return *Page().Grid(); }
    TTable& Book() { return Data().telStation(); }
    std::string Field(const char* name) { return Book().FieldByName(name).AsString(); }

    void ClickRow(int row)
    {
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Grid().visualRect(Grid().model()->index(row, 1)).center());
    }

    // Text as an input method commits it: Chinese is not typed key by key.
    void Type(QWidget* widget, const QString& text)
    {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(widget, &commit);
    }

    // Runs a menu's enabling as opening it does.
    void Opening(QMenu* menu) { emit menu->aboutToShow(); }

    struct Items {
        QAction* putOn;
        QAction* takeOff;
        QAction* add;
        QAction* edit;
        QAction* remove;
        QAction* favourite;
    };
    Items MainMenu()
    {
        TfmMain& window = Window();
        return {window.mnuPutOnSchedule, window.mnuTakeOffSchedule, window.mnuAddStation,
                window.mnuEditStation,   window.mnuDeleteStation,   window.mnuAddFavourite};
    }
    Items Popup()
    {
        return {Page().popPutOnSchedule, Page().popTakeOffSchedule, Page().popAddStation,
                Page().popEditStation,   Page().popDeleteStation,   Page().popAddFavourite};
    }

    // What the menu offers for the current station, opened as the user opens it.
    void ExpectOffered(QMenu* menu, const Items& items, bool stations, bool scheduled, const std::string& where)
    {
        Opening(menu);
        EXPECT_EQ(items.putOn->isEnabled(), stations && !scheduled) << where;
        EXPECT_EQ(items.takeOff->isEnabled(), stations && scheduled) << where;
        EXPECT_FALSE(items.putOn->isEnabled() && items.takeOff->isEnabled()) << where;
        EXPECT_EQ(items.edit->isEnabled(), stations) << where;
        EXPECT_EQ(items.remove->isEnabled(), stations) << where;
        EXPECT_TRUE(items.add->isEnabled()) << where;
        EXPECT_TRUE(items.favourite->isEnabled()) << where;
    }

    // A schedule entry for a station of the book; its tick shows once the book is read again.
    void ScheduleStation(const std::string& alias, const std::string& url)
    {
        AddEntry({alias, url, HoursFromNow(24)});
        Book().Refresh();
    }
};

TEST_F(PhonePageTest, PutOnAndTakeOffAreNeverBothOfferedAndNeedAStationAndThePhoneBook)
{
    OpenPhoneBook();
    Book().First();
    ScheduleStation("經濟部", Field("URL"));
    Book().Next();
    ScheduleStation("證交所", Field("URL"));
    QMenu* menu = Window().mnuTel;
    for (int row = 0; row < 4; ++row) {
        ClickRow(row);
        bool scheduled = row < 2;
        std::string where = "row " + std::to_string(row);
        EXPECT_EQ(Book().FieldByName("bCalSchedule").AsBoolean(), scheduled) << where;
        ExpectOffered(menu, MainMenu(), true, scheduled, "main menu, " + where);
        ExpectOffered(Page().popTel, Popup(), true, scheduled, "popTel, " + where);
    }

    // "我的最愛" starts empty.
    Page().TabSet()->setCurrentIndex(10);
    ASSERT_TRUE(Book().IsEmpty());
    ExpectOffered(menu, MainMenu(), false, false, "main menu, empty book");
    ExpectOffered(Page().popTel, Popup(), false, false, "popTel, empty book");

    // On another page the main menu offers nothing on a station; the page's own menu does.
    Page().TabSet()->setCurrentIndex(0);
    Book().First();
    QTest::mouseClick(Window().PaintBox(1), Qt::LeftButton);
    ExpectOffered(menu, MainMenu(), false, false, "main menu, reading list");
    ExpectOffered(Page().popTel, Popup(), true, true, "popTel, reading list");
}

TEST_F(PhonePageTest, TheMenusPutAStationOnTheScheduleWithItsTickAndTakeItOff)
{
    OpenPhoneBook();
    ClickRow(2);
    std::string url = Field("URL");
    WhenModal([this](QWidget*) { Window().fmWWW().BtnOK->click(); });
    Page().popPutOnSchedule->trigger();
    EXPECT_EQ(Field("URL"), url);
    EXPECT_TRUE(Book().FieldByName("bCalSchedule").AsBoolean());
    ExpectOffered(Window().mnuTel, MainMenu(), true, true, "after put on");

    // The scheduled column shows the tick on that row only.
    auto* delegate = dynamic_cast<TStatusCellDelegate*>(Grid().itemDelegateForColumn(0));
    ASSERT_NE(delegate, nullptr);
    QImage shot = Grid().viewport()->grab().toImage();
    for (int row = 1; row <= 3; ++row) {
        QRect cell = Grid().visualRect(Grid().model()->index(row, 0));
        EXPECT_EQ(shot.pixelColor(delegate->PictureOrigin(cell) + QPoint(1, 1)),
                  row == 2 ? kTickColour : QColor(Qt::white))
            << "row " << row;
    }

    ui.Answer(true);
    Window().mnuTakeOffSchedule->trigger();
    EXPECT_EQ(ui.Shown("ask").size(), 1u);
    EXPECT_EQ(Field("URL"), url);
    EXPECT_FALSE(Book().FieldByName("bCalSchedule").AsBoolean());
    Station().SetFiltered(false);
    EXPECT_EQ(Station().RecordCount(), 0);
    Station().SetFiltered(true);
}

TEST_F(PhonePageTest, AStationAddedThroughTheMenuTakesTheTabsCategoryOrOneForAll)
{
    OpenPhoneBook();
    for (int tab : {0, 4}) {
        Page().TabSet()->setCurrentIndex(tab);
        WhenModal([tab](QWidget* modal) {
            auto* dialog = dynamic_cast<TfmFavor*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->dbEdtAlias->setText(QString("新站台 %1").arg(tab));
            dialog->dbEdtURL->setText(QString("http://www.tab%1.example.com/").arg(tab));
            dialog->BitBtn1->click();
        });
        Window().mnuAddStation->trigger();
        EXPECT_EQ(Book().State(), TDataSetState::Browse);
    }
    Page().TabSet()->setCurrentIndex(0);
    EXPECT_EQ(Book().RecordCount(), kShippedStations + 2);
    ASSERT_TRUE(Book().Locate("URL", {"http://www.tab0.example.com/"}));
    EXPECT_EQ(Book().FieldByName("KIND_SERIAL").AsInteger(), 1);
    ASSERT_TRUE(Book().Locate("URL", {"http://www.tab4.example.com/"}));
    EXPECT_EQ(Book().FieldByName("KIND_SERIAL").AsInteger(), 4);
}

TEST_F(PhonePageTest, APressOnARowMovesScrollBar3ByTheRowsClicked)
{
    OpenPhoneBook();
    TRecordScrollBar& bar = *Page().ScrollBar();
    ASSERT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.maximum(), kShippedStations);
    EXPECT_EQ(bar.pageStep(), 12);
    EXPECT_EQ(bar.value(), 1);
    ClickRow(4);
    EXPECT_EQ(bar.value(), 5);
    EXPECT_EQ(bar.Tag(), 5);
    ClickRow(1);
    EXPECT_EQ(bar.value(), 2);
    EXPECT_EQ(Book().RecNo(), 2);

    // After the keys moved the record, a press on the current row leaves the bar there,
    // and a press elsewhere moves it from the record, not from the row last clicked.
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_Down);
    QTest::keyClick(&Grid(), Qt::Key_Down);
    ASSERT_EQ(bar.value(), 4);
    ClickRow(3);
    EXPECT_EQ(bar.value(), 4);
    ClickRow(6);
    EXPECT_EQ(bar.value(), 7);
    EXPECT_EQ(bar.Tag(), 7);

    // In a list scrolled down the rows are those shown.
    Grid().scrollTo(Grid().model()->index(50, 1), QAbstractItemView::PositionAtTop);
    ClickRow(52);
    EXPECT_EQ(Book().RecNo(), 53);
    EXPECT_EQ(bar.value(), 53);
    // And the bar moves the record from there.
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(Book().RecNo(), 52);
}

TEST_F(PhonePageTest, TheMemoEditsTheDescriptionOfTheCurrentStation)
{
    OpenPhoneBook();
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    TDBMemo& memo = *Page().DBMemo1;
    EXPECT_GT(memo.geometry().top(), Page().TabSet()->geometry().bottom());
    EXPECT_LE(memo.geometry().bottom(), Page().height());

    ClickRow(1);
    std::string second = Field("URL");
    EXPECT_EQ(memo.toPlainText().toStdString(), Field("DESCRIPTION"));
    EXPECT_FALSE(memo.isReadOnly());
    memo.setFocus();
    memo.moveCursor(QTextCursor::End);
    Type(&memo, "(已改)");
    EXPECT_EQ(Book().State(), TDataSetState::Edit);
    std::string edited = memo.toPlainText().toStdString();
    // Leaving the box keeps what was typed.
    Grid().setFocus();
    EXPECT_EQ(Book().State(), TDataSetState::Browse);
    EXPECT_EQ(Field("DESCRIPTION"), edited);

    // Typed, then another row chosen: the edit is posted with its own station.
    ClickRow(3);
    std::string fourth = Field("URL");
    memo.setFocus();
    memo.selectAll();
    Type(&memo, "第四站");
    ClickRow(0);
    EXPECT_EQ(memo.toPlainText().toStdString(), Field("DESCRIPTION"));
    EXPECT_NE(Field("DESCRIPTION"), "第四站");

    Book().Close();
    Book().Open();
    ASSERT_TRUE(Book().Locate("URL", {second}));
    EXPECT_EQ(Field("DESCRIPTION"), edited);
    ASSERT_TRUE(Book().Locate("URL", {fourth}));
    EXPECT_EQ(Field("DESCRIPTION"), "第四站");
    EXPECT_TRUE(ui.Shown("error").empty());

    // Nothing to edit in an empty category.
    Page().TabSet()->setCurrentIndex(10);
    EXPECT_TRUE(memo.toPlainText().isEmpty());
    EXPECT_TRUE(memo.isReadOnly());
}

}  // namespace
