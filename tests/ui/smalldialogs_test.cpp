#include <string>

#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

#include "core/datetime.h"
#include "ui/busythread.h"
#include "ui/grabdialog.h"
#include "ui/grabokdialog.h"
#include "ui/warndialog.h"
#include "ui/windowui.h"
#include "uitestkit.h"

namespace {

TEST(GrabDialog, ShowsTheEntryAndTheTimes)
{
    TempFolder home;
    WritePicture(home, "clock.bmp", QSize(48, 48), Qt::darkCyan);
    TDateTime now = EncodeDateTime({2024, 7, 10, 9, 30, 0});
    SetClockForTest([now] { return now; });
    TGrabDialog dialog("http://www.example.com/", "2024/07/10 08:00:00");
    SetClockForTest({});
    EXPECT_EQ(dialog.windowTitle().toStdString(), "預定抓取時間已過");
    EXPECT_EQ(dialog.size(), QSize(333, 202));
    EXPECT_EQ(dialog.label1->text().toStdString(), "http://www.example.com/");
    EXPECT_EQ(dialog.Label2->text().toStdString(), "2024/07/10 08:00:00");
    EXPECT_EQ(dialog.Label3->text().toStdString(), "2024/07/10 09:30:00");
    EXPECT_EQ(dialog.Image1->pixmap().size(), QSize(48, 48));
    EXPECT_TRUE(dialog.btnNow->isDefault());
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(GrabDialog, ALongAddressIsShortenedInTheMiddleAndWholeInItsTip)
{
    TempFolder home;
    std::string url = "http://www.example.com/" + std::string(40, 'p') + "/end.html";
    TGrabDialog dialog(url, "2024/07/10 08:00:00");
    QString shown = dialog.label1->text();
    EXPECT_TRUE(shown.startsWith("http://www.exa"));
    EXPECT_TRUE(shown.endsWith("end.html"));
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_EQ(dialog.label1->toolTip().toStdString(), url);
}

TEST(GrabDialog, OpensWithoutItsPicture)
{
    TempFolder home;
    TGrabDialog dialog("http://www.example.com/", "2024/07/10 08:00:00");
    EXPECT_TRUE(dialog.Image1->pixmap().isNull());
}

TEST(GrabDialog, AnswersNowNextTimeOrClosed)
{
    TempFolder home;
    TGrabDialog now("http://a.example/", "");
    WhenModal([&](QWidget*) {
        EXPECT_EQ(now.focusWidget(), now.btnNow);
        QTest::keyClick(&now, Qt::Key_Return);
    });
    EXPECT_TRUE(now.Execute());

    TGrabDialog next("http://a.example/", "");
    WhenModal([&](QWidget*) { next.btnNext->click(); });
    EXPECT_FALSE(next.Execute());

    TGrabDialog closed("http://a.example/", "");
    WhenModal([&](QWidget*) { closed.close(); });
    EXPECT_FALSE(closed.Execute());
}

class WindowUiTest : public ::testing::Test {
protected:
    TempFolder home;
    QMainWindow window;
    TBusyThread busy;
    TWindowUserInterface ui{window, busy};
};

TEST_F(WindowUiTest, SiteFinishedReusesOneNoticeWithoutWaiting)
{
    ui.SiteFinished("http://first.example/");
    TgrabOkDialog* notice = ui.SiteFinishedNotice();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(notice->isModal());
    EXPECT_EQ(notice->windowTitle().toStdString(), "本站台已下載完畢");
    EXPECT_EQ(notice->btnOk->text().toStdString(), "知道了");
    notice->btnOk->click();
    EXPECT_FALSE(notice->isVisible());

    ui.SiteFinished("http://second.example/");
    EXPECT_EQ(ui.SiteFinishedNotice(), notice);
    EXPECT_EQ(window.findChildren<TgrabOkDialog*>().size(), 1);
    EXPECT_EQ(notice->siteName->text().toStdString(), "http://second.example/");
    EXPECT_TRUE(notice->isVisible());
}

TEST_F(WindowUiTest, GrabThreadWarningsDoNotWait)
{
    ui.WarningDialog("3:http://a.example/", "硬碟容量不足");
    QList<TwarnDialog*> shown = window.findChildren<TwarnDialog*>();
    ASSERT_EQ(shown.size(), 1);
    TwarnDialog* dialog = shown[0];
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle().toStdString(), "3:http://a.example/");
    EXPECT_EQ(dialog->Label1->text().toStdString(), "硬碟容量不足");
    EXPECT_EQ(dialog->size(), QSize(264, 128));

    QPointer<TwarnDialog> gone = dialog;
    dialog->btnOk->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
}

TEST_F(WindowUiTest, TheSchedulersQuestionIsTheMissedTimeDialog)
{
    WhenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        ASSERT_NE(dynamic_cast<TGrabDialog*>(dialog), nullptr);
        EXPECT_EQ(static_cast<TGrabDialog*>(dialog)->label1->text().toStdString(), "http://due.example/");
        static_cast<TGrabDialog*>(dialog)->btnNext->click();
    });
    EXPECT_FALSE(ui.AskGrabNow("http://due.example/", "2024/07/10 08:00:00"));
}

TEST(WarnDialog, ModalShowWaitsForOk)
{
    TwarnDialog dialog;
    WhenModal([&](QWidget* modal) {
        EXPECT_EQ(modal, &dialog);
        dialog.btnOk->click();
    });
    dialog.Show("注意", "警告", true);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle().toStdString(), "警告");
}

}  // namespace
