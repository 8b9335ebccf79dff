#include <stdexcept>

#include <QApplication>
#include <QMainWindow>
#include <gtest/gtest.h>

#include "core/busyscope.h"
#include "ui/busythread.h"
#include "ui/fmbusy.h"
#include "ui/windowui.h"

namespace {

class BusyWindowTest : public ::testing::Test {
protected:
    void SetUp() override { SetUserInterface(&ui); }
    void TearDown() override { SetUserInterface(nullptr); }

    bool Released() const
    {
        return !busy.Window().isVisible() && QApplication::overrideCursor() == nullptr
            && QWidget::mouseGrabber() == nullptr && busy.Text().empty();
    }

    QMainWindow window;
    TBusyThread busy;
    TWindowUserInterface ui{window, busy};
};

TEST_F(BusyWindowTest, HoldsTheMouseAndTheWaitPointerWhileUp)
{
    TfmBusy& shown = busy.Window();
    EXPECT_EQ(shown.windowTitle().toStdString(), "系統忙碌當中");
    EXPECT_EQ(shown.size(), QSize(408, 177));
    EXPECT_EQ(shown.panBusy()->text().toStdString(), "正載入網路電話簿   請稍待");
    {
        TBusyScope scope("正在打開網路電話簿  請稍待");
        EXPECT_TRUE(shown.isVisible());
        EXPECT_FALSE(shown.isModal());
        EXPECT_EQ(shown.panBusy()->text().toStdString(), "正在打開網路電話簿  請稍待");
        EXPECT_EQ(busy.Text(), "正在打開網路電話簿  請稍待");
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        EXPECT_EQ(QWidget::mouseGrabber(), &shown);
    }
    EXPECT_TRUE(Released());
}

TEST_F(BusyWindowTest, AnOperationThatFailsLeavesNothingHeld)
{
    auto failing = [] {
        TBusyScope scope("資料排序中  請稍待");
        throw std::runtime_error("the table is damaged");
    };
    EXPECT_THROW(failing(), std::runtime_error);
    EXPECT_TRUE(Released());
}

TEST_F(BusyWindowTest, NestedOperationsShowTheirOwnTextsAndTheOuterOneHides)
{
    {
        TBusyScope outer("切換網站分類  請稍待");
        {
            TBusyScope inner("資料排序中  請稍待");
            EXPECT_EQ(busy.Text(), "資料排序中  請稍待");
        }
        EXPECT_TRUE(busy.Window().isVisible());
        EXPECT_EQ(busy.Window().panBusy()->text().toStdString(), "切換網站分類  請稍待");
        EXPECT_EQ(QWidget::mouseGrabber(), &busy.Window());
    }
    EXPECT_TRUE(Released());
    ui.HideBusy();  // one hide too many does nothing
    EXPECT_TRUE(Released());
}

TEST_F(BusyWindowTest, ClosingTheWindowAnyOtherWayGivesTheMouseBack)
{
    ui.ShowBusy("正在刪掉網頁資料  請稍待");
    busy.Window().close();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    ui.HideBusy();
    EXPECT_TRUE(Released());
}

}  // namespace
