#include <string>

#include <gtest/gtest.h>

#include "grab/grabscheduler.h"
#include "grab/grabstate.h"
#include "support/scriptedui.h"
#include "ui/fmstop.h"

namespace {

class RecordingScheduler : public TGrabScheduler {
public:
    bool EndRequested() const override { return ended; }
    void RequestEnd() override { ended = true; }
    void Status(const std::string&) override {}

    bool ended = false;
};

const char* const kQuestion =
    "停止本次所有預約排程後\r\n如果要再下載網頁\r\n必須重新進入系統\r\n\r\n你仍然確定要停止嗎?";

class StopDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GrabState().StopFlag = false;
        GrabState().SetCurrentSiteURL("http://www.example.com/");
        dialog.show();
    }

    void TearDown() override
    {
        GrabState().StopFlag = false;
        GrabState().SetCurrentSiteURL("");
    }

    ScriptedUi ui;
    RecordingScheduler scheduler;
    TfmStop dialog{scheduler};
};

TEST_F(StopDialogTest, HasItsCaptionButtonsAndSize)
{
    EXPECT_EQ(dialog.windowTitle().toStdString(), "停止下載");
    EXPECT_EQ(dialog.size(), QSize(369, 193));
    EXPECT_EQ(dialog.btnStopSite->text().toStdString(), "停止本站下載");
    EXPECT_EQ(dialog.btnStopAll->text().toStdString(), "停止所有的排程");
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(StopDialogTest, StoppingThisSiteSetsTheFlagAndSaysSo)
{
    dialog.btnStopSite->click();
    EXPECT_TRUE(GrabState().StopFlag);
    EXPECT_TRUE(ui.WasShown("status", "下載停止"));
    EXPECT_TRUE(ui.WasShown("title", "下載停止"));
    EXPECT_FALSE(scheduler.ended);
    EXPECT_EQ(GrabState().CurrentSiteURL(), "http://www.example.com/");
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(StopDialogTest, StoppingAllAndThenCancelLeavesTheGrabRunning)
{
    ui.Answer(false);
    dialog.btnStopAll->click();
    EXPECT_EQ(ui.Shown("confirm"), (std::vector<std::string>{kQuestion}));
    EXPECT_FALSE(GrabState().StopFlag);
    EXPECT_FALSE(scheduler.ended);
    EXPECT_EQ(GrabState().CurrentSiteURL(), "http://www.example.com/");
    EXPECT_TRUE(ui.Shown("animate").empty());
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(StopDialogTest, StoppingAllEndsTheSchedulerAndTheAnimation)
{
    ui.Answer(true);
    dialog.btnStopAll->click();
    EXPECT_TRUE(GrabState().StopFlag);
    EXPECT_TRUE(scheduler.ended);
    EXPECT_TRUE(ui.WasShown("animate", "off"));
    EXPECT_EQ(GrabState().CurrentSiteURL(), "");
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(StopDialogTest, CancelChangesNothing)
{
    dialog.btnCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(GrabState().StopFlag);
    EXPECT_FALSE(scheduler.ended);
    EXPECT_TRUE(ui.Shown().empty());
}

}  // namespace
