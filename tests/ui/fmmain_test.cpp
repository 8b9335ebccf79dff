#include <atomic>
#include <string>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "data/table.h"
#include "grab/grabstate.h"
#include "ui/animated.h"
#include "ui/browserpage.h"
#include "ui/busythread.h"
#include "ui/categorytabs.h"
#include "ui/dbmeter.h"
#include "ui/desktopopen.h"
#include "ui/fmstop.h"
#include "ui/listpage.h"
#include "ui/panelstatusbar.h"
#include "ui/picturebutton.h"
#include "ui/recordscrollbar.h"
#include "ui/schedulepage.h"
#include "ui/setuppage.h"
#include "ui/toolbarstrip.h"
#include "ui/windowui.h"
#include "mainwindowkit.h"

namespace {

using TFace = TPictureButton::TFace;

class MainWindowTest : public ::testing::Test, public MainWindowFixture {
protected:
    TPictureButton* Button(int tag) { return Window().PaintBox(tag); }
    void Click(int tag) { QTest::mouseClick(Button(tag), Qt::LeftButton); }

    // Runs a menu's enabling as opening it does.
    void Opening(QMenu* menu) { emit menu->aboutToShow(); }
};

TEST_F(MainWindowTest, HasItsFixedClientAreaToolbarPagesAndStatusBar)
{
    Open();
    TfmMain& window = Window();
    EXPECT_EQ(window.windowTitle().toStdString(), "Zanvik");
    EXPECT_EQ(window.centralWidget()->size(), QSize(793, 518));
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window.normalImage->geometry(), QRect(0, 0, 793, 65));
    const QRect bounds[] = {{13, 1, 50, 61}, {72, 1, 52, 61}, {132, 1, 52, 61}, {191, 1, 56, 61}, {543, 2, 56, 61}};
    for (int tag = 1; tag <= 5; ++tag)
        EXPECT_EQ(Button(tag)->geometry(), bounds[tag - 1]) << tag;
    EXPECT_EQ(window.Animated1->geometry(), QRect(727, 6, 60, 52));
    EXPECT_EQ(window.Animated1->FrameCount(), 16);
    EXPECT_EQ(window.Animated1->Interval(), 1000);
    EXPECT_FALSE(window.Animated1->Play());
    for (QWidget* page : std::initializer_list<QWidget*>{window.panSee, window.panSchedule, window.panTel, window.panSetup,
                                                          window.panBrowser}) {
        EXPECT_EQ(page->parentWidget(), window.pageArea);
        EXPECT_EQ(page->geometry(), window.pageArea->rect());
    }
    EXPECT_EQ(window.pageArea->geometry(), QRect(0, 65, 793, 428));
    EXPECT_EQ(window.StatusBar1->geometry(), QRect(0, 493, 793, 25));
    EXPECT_EQ(window.FrontPage(), window.panSee);
    EXPECT_EQ(window.CurrentList(), 0);
    EXPECT_EQ(window.normalImage->Selected(), 1);
    EXPECT_TRUE(MainWindowReady());
}

TEST_F(MainWindowTest, EachStatusPanelTakesItsControlOnItsFirstDrawingOnly)
{
    Open();
    TfmMain& window = Window();
    window.statusLabel->setText("old text");
    window.StatusBar1->repaint();
    for (int panel = 0; panel <= 5; ++panel)
        EXPECT_TRUE(window.Placed(panel)) << panel;
    EXPECT_EQ(window.statusLabel->geometry(), window.StatusBar1->PanelRect(0));
    EXPECT_TRUE(window.statusLabel->isVisible());
    for (int n = 1; n <= 5; ++n) {
        Tdbmeter* meter = window.dbmeter(n);
        QRect panel = window.StatusBar1->PanelRect(n);
        EXPECT_EQ(meter->geometry(), QRect(panel.left(), panel.top(), 64, panel.height())) << n;
        EXPECT_EQ(meter->Greens() + meter->Yellows() + meter->Reds(), 64);
        EXPECT_EQ(meter->objectName().toStdString(), "dbmeter" + std::to_string(n));
    }
    window.statusLabel->setText("下載停止");
    window.dbmeter(2)->move(0, 0);
    window.StatusBar1->repaint();
    EXPECT_EQ(window.statusLabel->text().toStdString(), "下載停止");
    EXPECT_EQ(window.dbmeter(2)->pos(), QPoint(0, 0));
}

TEST_F(MainWindowTest, EachFrameOfTheAnimationShowsItsIconInTheTaskBar)
{
    Open();
    for (int frame : {1, 2, 3, 4, 5, 15}) {
        Window().Animated1->SetFrame(frame);
        QImage icon = QApplication::windowIcon().pixmap(32, 32).toImage();
        EXPECT_EQ(icon.pixelColor(16, 16), kIconColours[frame % 4]) << frame;
    }
}

TEST_F(MainWindowTest, PictureButtonsLightUnderThePointerAndStayRaisedForTheOpenPage)
{
    Open();
    TToolbarStrip& toolbar = *Window().normalImage;
    QTest::mouseMove(Button(2));
    EXPECT_EQ(toolbar.Hovered(), 2);
    EXPECT_EQ(Button(2)->Face(), TFace::Focus);
    EXPECT_EQ(PixelAt(Button(2), {5, 5}), kFocusColour);

    QTest::mouseMove(Button(3));
    EXPECT_EQ(Button(2)->Face(), TFace::Plain);
    EXPECT_EQ(PixelAt(Button(2), {5, 5}), kNormalColour);
    EXPECT_EQ(Button(3)->Face(), TFace::Focus);

    QTest::mousePress(Button(3), Qt::LeftButton);
    EXPECT_EQ(Button(3)->Face(), TFace::Down);
    EXPECT_EQ(Button(1)->Face(), TFace::Plain);
    QTest::mouseRelease(Button(3), Qt::LeftButton);
    EXPECT_EQ(Button(3)->Face(), TFace::Up);
    EXPECT_EQ(PixelAt(Button(3), {5, 5}), kUpColour);
    EXPECT_EQ(toolbar.Selected(), 3);
    EXPECT_EQ(Window().FrontPage(), Window().panTel);

    // The raised button is not lit under the pointer, and keeps its face.
    QTest::mouseMove(Button(3));
    EXPECT_EQ(Button(3)->Face(), TFace::Up);
}

TEST_F(MainWindowTest, MovingBelowTheToolbarTakesTheLitFaceAway)
{
    Open();
    TToolbarStrip& toolbar = *Window().normalImage;
    QTest::mouseMove(Button(4));
    ASSERT_EQ(Button(4)->Face(), TFace::Focus);
    QTest::mouseMove(Window().normalImage, {700, 30});  // still on the toolbar
    EXPECT_EQ(toolbar.Hovered(), 4);
    QTest::mouseMove(Window().panSee->Grid(), {100, 100});
    EXPECT_EQ(toolbar.Hovered(), 0);
    EXPECT_EQ(Button(4)->Face(), TFace::Plain);
    EXPECT_EQ(Button(1)->Face(), TFace::Up);
}

TEST_F(MainWindowTest, TheForceDisconnectButtonOpensNoPage)
{
    Open();
    Click(5);
    EXPECT_EQ(Window().normalImage->Selected(), 1);
    EXPECT_EQ(Window().FrontPage(), Window().panSee);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, ChoosingAPageShowsAllCategoriesAndSetsTheCurrentList)
{
    AddEntries(20);
    Open();
    TfmMain& window = Window();
    window.panSchedule->TabSet()->setCurrentIndex(3);
    ASSERT_EQ(Station().Filter(), "kind_Serial=3");

    Click(2);
    EXPECT_EQ(window.FrontPage(), window.panSchedule);
    EXPECT_EQ(window.CurrentList(), 1);
    EXPECT_EQ(window.panSchedule->TabSet()->currentIndex(), 0);
    EXPECT_EQ(Station().Filter(), "");
    EXPECT_TRUE(window.panSchedule->ScrollBar()->isVisible());
    EXPECT_EQ(window.panSchedule->ScrollBar()->maximum(), 20);

    ui.Clear();
    Click(3);
    EXPECT_EQ(window.FrontPage(), window.panTel);
    EXPECT_EQ(window.CurrentList(), 2);
    EXPECT_EQ(ui.Shown("busy"), (std::vector<std::string>{"正在打開網路電話簿  請稍待", "hidden"}));

    Click(4);
    EXPECT_EQ(window.FrontPage(), window.panSetup);
    EXPECT_EQ(window.CurrentList(), 2);

    Click(1);
    EXPECT_EQ(window.FrontPage(), window.panSee);
    EXPECT_EQ(window.CurrentList(), 0);
}

TEST_F(MainWindowTest, TheScheduleCommandsNeedAnEntryAndTheSchedulePage)
{
    Open();
    TfmMain& window = Window();
    Click(2);
    EXPECT_FALSE(window.panSchedule->ScrollBar()->isVisible());
    Opening(window.mnuSchedule);
    EXPECT_TRUE(window.mnuAddSchedule->isEnabled());
    for (QAction* item : {window.mnuChangeSchedule, window.mnuDeleteSchedule, window.mnuDownloadNow})
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    Opening(window.panSchedule->popSchedule);
    EXPECT_TRUE(window.panSchedule->popAdd->isEnabled());
    for (QAction* item : {window.panSchedule->popChange, window.panSchedule->popDelete, window.panSchedule->popDownload})
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();

    AddEntries(3);
    Opening(window.mnuSchedule);
    for (QAction* item : {window.mnuChangeSchedule, window.mnuDeleteSchedule, window.mnuDownloadNow})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    EXPECT_TRUE(window.panSchedule->ScrollBar()->isVisible());

    // On another page the main menu offers none of them; the page's own menu still does.
    Click(1);
    Opening(window.mnuSchedule);
    for (QAction* item : {window.mnuChangeSchedule, window.mnuDeleteSchedule, window.mnuDownloadNow})
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    Opening(window.panSchedule->popSchedule);
    for (QAction* item : {window.panSchedule->popChange, window.panSchedule->popDelete, window.panSchedule->popDownload})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
}

TEST_F(MainWindowTest, DeletingFromTheReadingListNeedsARowAndTheReadingList)
{
    Open();
    TfmMain& window = Window();
    Opening(window.mnuFile);
    EXPECT_FALSE(window.mnuFileDelete->isEnabled());
    TTable& see = Data().seeTab();
    see.Append();
    see.FieldByName("URL").SetAsString("http://www.example.com/");
    see.FieldByName("kind_serial").SetAsInteger(1);
    see.Post();
    Click(1);
    EXPECT_TRUE(window.mnuFileDelete->isEnabled());
    Click(2);
    EXPECT_FALSE(window.mnuFileDelete->isEnabled());
}

TEST_F(MainWindowTest, ForceDisconnectShowsTheStopDialogOnlyWhileASiteIsGrabbed)
{
    Open();
    Window().ForceDisconnect();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    GrabState().SetCurrentSiteURL("http://www.example.com/");
    QWidget* shown = nullptr;
    WhenModal([&shown](QWidget* modal) {
        shown = modal;
        static_cast<QDialog*>(modal)->reject();
    });
    Window().mnuForceDisconnect->trigger();
    GrabState().SetCurrentSiteURL("");
    EXPECT_EQ(shown, &Window().fmStop());
}

TEST_F(MainWindowTest, ClosingWhileASiteIsGrabbedStopsItAndWaitsForTheScheduler)
{
    std::atomic<bool> grabbing{false};
    std::atomic<bool> stopSeen{false};
    AddEntry({"due", "http://127.0.0.1:9/", HoursFromNow(-1)});
    Open([&](const std::string&, int, bool, bool, TGrabScheduler& scheduler) {
        grabbing = true;
        while (!scheduler.EndRequested())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        stopSeen = GrabState().StopFlag.load();
        return 1;
    });
    ASSERT_TRUE(WaitOnMain([&] { return grabbing.load(); }, std::chrono::seconds(15)));
    EXPECT_EQ(GrabState().CurrentSiteURL(), "http://127.0.0.1:9/");
    Window().close();
    EXPECT_TRUE(Window().WatchDog().Finished());
    EXPECT_TRUE(stopSeen);
    EXPECT_TRUE(GrabState().StopFlag);
    EXPECT_FALSE(MainWindowReady());
    GrabState().StopFlag = false;
}

TEST_F(MainWindowTest, AnErrorInAHandlerIsLoggedAndShownAndTheProgramGoesOn)
{
    Open();
    GrabState().SetCurrentSiteURL("http://www.example.com/");
    Station().Close();
    testing::internal::CaptureStderr();
    Click(2);
    std::string console = testing::internal::GetCapturedStderr();
    GrabState().SetCurrentSiteURL("");
    ASSERT_EQ(ui.Shown("error").size(), 1u);
    std::string message = ui.Shown("error")[0];
    EXPECT_NE(message.find("closed dataset"), std::string::npos) << message;
    std::string rule(32, '=');
    EXPECT_NE(console.find("vorlan: " + rule + "\nvorlan: processfile-->http://www.example.com/\n"
                           "vorlan: class name--->TPictureButton\nvorlan: exception---->" + message + "\nvorlan: "
                           + rule + "\n"),
              std::string::npos)
        << console;
    // The window is still there for the user.
    Station().Open();
    Click(2);
    EXPECT_EQ(Window().FrontPage(), Window().panSchedule);
    EXPECT_EQ(ui.Shown("error").size(), 1u);
}

TEST_F(MainWindowTest, HelpOpensTheShippedDocumentOrSaysItIsMissing)
{
    Open();
    OpenRecorder desktop;
    Window().mnuHelp->trigger();
    EXPECT_TRUE(desktop.opened.isEmpty());
    ASSERT_EQ(ui.Shown("warning").size(), 1u);
    EXPECT_NE(ui.Shown("warning")[0].find(folder.Home() / "vorlan.html"), std::string::npos);

    folder.Home().Write("vorlan.html", "<html></html>");
    Window().mnuHelp->trigger();
    EXPECT_EQ(desktop.opened, QStringList{QString::fromStdString(folder.Home() / "vorlan.html")});
    EXPECT_EQ(ui.Shown("warning").size(), 1u);

    // The dial-up help, a file with a Chinese name.
    folder.Home().Write("撥號網路.txt", "nmcli");
    EXPECT_TRUE(OpenProgramDocument("撥號網路.txt"));
    ASSERT_EQ(desktop.opened.size(), 2);
    EXPECT_EQ(desktop.opened[1].toStdString(), folder.Home() / "撥號網路.txt");
}

TEST_F(MainWindowTest, TheWindowInterfaceReachesTheStatusLineMetersAndAnimations)
{
    Open();
    TBusyThread busy;
    TWindowUserInterface windowUi(Window(), busy);
    windowUi.Status("準備下載: http://www.example.com/");
    EXPECT_EQ(Window().statusLabel->text().toStdString(), "準備下載: http://www.example.com/");
    windowUi.Meter(3, 40);
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(Window().dbmeter(n)->Position(), n == 3 ? 40 : 0) << n;
    windowUi.Animate(true);
    EXPECT_TRUE(Window().Animated1->Play());
    windowUi.Animate(false);
    EXPECT_FALSE(Window().Animated1->Play());
    windowUi.BrowserAnimate(true);
    EXPECT_TRUE(Window().panBrowser->Animate2->Play());
    windowUi.BrowserAnimate(false);
    EXPECT_FALSE(Window().panBrowser->Animate2->Play());
}

TEST_F(MainWindowTest, ADoubleClickOpensTheSiteInTheChosenBrowser)
{
    AddEntry({"example", "http://www.example.com/", HoursFromNow(24)});
    Open();
    Click(2);
    TTestGrid* grid = Window().panSchedule->Grid();
    QPoint cell = grid->visualRect(grid->model()->index(0, 1)).center();

    OpenRecorder desktop;
    Settings().USE_browser = false;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(desktop.opened, QStringList{"http://www.example.com/"});
    EXPECT_TRUE(Window().panBrowser->isHidden());
    EXPECT_EQ(Window().FrontPage(), Window().panSchedule);

    Settings().USE_browser = true;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
#ifdef ZANVIK_WEBENGINE
    EXPECT_EQ(desktop.opened.size(), 1);
#else
    // Built without the web engine, the browser page hands the site to the desktop.
    EXPECT_EQ(desktop.opened, (QStringList{"http://www.example.com/", "http://www.example.com/"}));
#endif
    EXPECT_EQ(Window().FrontPage(), Window().panBrowser);
    Window().SendToBack(Window().panBrowser);
    EXPECT_EQ(Window().FrontPage(), Window().panSchedule);
}

TEST_F(MainWindowTest, RebuildingTheIndexesEndsTheSchedulerAndThenTheProgram)
{
    AddEntries(3);
    Open();
    ui.Answer(false);
    Window().N12->trigger();
    EXPECT_FALSE(Window().WatchDog().Terminated());
    EXPECT_TRUE(ui.Shown("busy").empty());

    ui.Answer(true);
    Window().N12->trigger();
    EXPECT_TRUE(Window().WatchDog().Finished());
    EXPECT_EQ(ui.Shown("busy"), (std::vector<std::string>{"請稍待片刻       正在重建資料索引檔", "hidden"}));
    EXPECT_EQ(ui.Shown("message"), (std::vector<std::string>{"為了確保執行的正確性\r\nZanvik將自行關閉"}));
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(Station().RecordCount(), 3);
    EXPECT_EQ(Station().FileIndexDefs().size(), 6u);
}

}  // namespace

