#include <string>
#include <vector>

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "data/datasetmodel.h"
#include "support/scriptedui.h"
#include "ui/testgrid.h"
#include "uitestkit.h"

namespace {

struct Press {
    int column;
    Qt::MouseButton button;
    Qt::KeyboardModifiers shift;
};

class TestGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.resize(640, 300);
        grid.SetDataSet(&folder.Data().telStation());
        grid.OnColumnClick = [this](TTestGrid* sender, int column, Qt::MouseButton button, Qt::KeyboardModifiers shift) {
            EXPECT_EQ(sender, &grid);
            clicks.push_back({column, button, shift});
        };
        grid.OnMouseDown = [this](TTestGrid*, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint) {
            downs.push_back({-1, button, shift});
        };
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    QWidget* Titles() { return grid.horizontalHeader()->viewport(); }

    QPoint TitleOf(int column)
    {
        QHeaderView* header = grid.horizontalHeader();
        return {header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2};
    }

    QPoint CellOf(int row, int column) { return grid.visualRect(grid.model()->index(row, column)).center(); }

    ScriptedUi ui;
    DataFolder folder;
    TTestGrid grid;
    std::vector<Press> clicks;
    std::vector<Press> downs;
};

TEST_F(TestGridTest, ShowsTheRowsOfTheTableFile)
{
    TDataSet& favor = folder.Data().telStation();
    ASSERT_GT(favor.RecordCount(), 10);
    EXPECT_EQ(grid.model()->rowCount(), favor.RecordCount());
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString().isEmpty(), false);
    EXPECT_TRUE(grid.ShowIndicator());
}

TEST_F(TestGridTest, ATitleClickReportsTheDataColumnWithTheButtonAndShift)
{
    QTest::mousePress(Titles(), Qt::LeftButton, Qt::ShiftModifier, TitleOf(0));
    EXPECT_EQ(grid.PressedColumn(), 0);
    QTest::mouseRelease(Titles(), Qt::LeftButton, Qt::ShiftModifier, TitleOf(0));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].column, 0);  // the row indicator is not counted
    EXPECT_EQ(clicks[0].button, Qt::LeftButton);
    EXPECT_EQ(clicks[0].shift, Qt::ShiftModifier);

    QTest::mousePress(Titles(), Qt::RightButton, Qt::NoModifier, TitleOf(2));
    QTest::mouseRelease(Titles(), Qt::RightButton, Qt::NoModifier, TitleOf(2));
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[1].column, 2);
    EXPECT_EQ(clicks[1].button, Qt::RightButton);
    EXPECT_EQ(grid.PressedColumn(), 2);  // kept after the click

    grid.SetShowIndicator(false);
    QTest::mousePress(Titles(), Qt::LeftButton, Qt::NoModifier, TitleOf(1));
    QTest::mouseRelease(Titles(), Qt::LeftButton, Qt::NoModifier, TitleOf(1));
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[2].column, 1);
}

TEST_F(TestGridTest, MovingToAnotherTitleBeforeTheReleaseIsNoClick)
{
    QTest::mousePress(Titles(), Qt::LeftButton, Qt::NoModifier, TitleOf(1));
    QTest::mouseMove(Titles(), TitleOf(2));
    EXPECT_EQ(grid.PressedColumn(), -1);
    QTest::mouseRelease(Titles(), Qt::LeftButton, Qt::NoModifier, TitleOf(2));
    EXPECT_TRUE(clicks.empty());

    // Back onto the pressed title before the release: the press was forgotten already.
    QTest::mousePress(Titles(), Qt::LeftButton, Qt::NoModifier, TitleOf(1));
    QTest::mouseMove(Titles(), TitleOf(2));
    QTest::mouseMove(Titles(), TitleOf(1));
    QTest::mouseRelease(Titles(), Qt::LeftButton, Qt::NoModifier, TitleOf(1));
    EXPECT_TRUE(clicks.empty());
}

TEST_F(TestGridTest, AReleaseBelowThePressedTitleInTheSameColumnIsAClick)
{
    QTest::mousePress(Titles(), Qt::LeftButton, Qt::NoModifier, TitleOf(1));
    QPoint below = Titles()->mapFromGlobal(grid.viewport()->mapToGlobal(CellOf(2, 1)));
    QTest::mouseRelease(Titles(), Qt::LeftButton, Qt::NoModifier, below);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].column, 1);
}

TEST_F(TestGridTest, EveryPressOfTheThreeButtonsRaisesMouseDownOnce)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, CellOf(3, 1));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier, CellOf(3, 1));
    QTest::mouseClick(grid.viewport(), Qt::MiddleButton, Qt::NoModifier, CellOf(3, 1));
    QTest::mouseClick(Titles(), Qt::LeftButton, Qt::NoModifier, TitleOf(1));
    ASSERT_EQ(downs.size(), 4u);
    EXPECT_EQ(downs[0].button, Qt::LeftButton);
    EXPECT_EQ(downs[0].shift, Qt::ControlModifier);
    EXPECT_EQ(downs[1].button, Qt::RightButton);
    EXPECT_EQ(downs[2].button, Qt::MiddleButton);
    EXPECT_EQ(downs[3].button, Qt::LeftButton);
}

TEST_F(TestGridTest, TheCurrentRecordFollowsTheGridAndTheGridFollowsIt)
{
    TDataSet& favor = folder.Data().telStation();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellOf(4, 1));
    EXPECT_EQ(favor.RecNo(), 5);

    // The mouse-down handler sees the record already moved, as the phone book needs.
    int seen = 0;
    grid.OnMouseDown = [&](TTestGrid*, Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { seen = favor.RecNo(); };
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellOf(2, 0));
    EXPECT_EQ(seen, 3);

    favor.Last();
    EXPECT_EQ(grid.currentIndex().row(), favor.RecordCount() - 1);
    favor.First();
    EXPECT_EQ(grid.currentIndex().row(), 0);
}

TEST_F(TestGridTest, ChosenColumnsKeepTheirOrderTitlesAndWidths)
{
    grid.SetColumns({{"bCalSchedule", "已排程", 55, Qt::AlignCenter}, {"ALIAS", "", 249}, {"URL", "", 415}});
    ASSERT_EQ(grid.model()->columnCount(), 3);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString().toStdString(), "已排程");
    EXPECT_EQ(grid.ColumnField(1)->FieldName(), "ALIAS");
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(0), 55);
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(2), 415);

    folder.Data().telStation().Refresh();  // the rows read again keep the columns
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(1), 249);
    QTest::mouseClick(Titles(), Qt::LeftButton, Qt::NoModifier, TitleOf(2));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].column, 2);
}

TEST_F(TestGridTest, ScrollBarsNoneHidesBothBars)
{
    grid.SetScrollBars(TScrollStyle::ssNone);
    EXPECT_EQ(grid.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    grid.SetScrollBars(TScrollStyle::ssHorizontal);
    EXPECT_EQ(grid.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QTest::qWait(0);
    EXPECT_FALSE(grid.verticalScrollBar()->isVisible());
}

}  // namespace
