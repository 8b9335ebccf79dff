#include <chrono>
#include <memory>
#include <string>

#include <QTest>
#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "net/dns.h"
#include "server/pageserver.h"
#include "ui/browserpage.h"
#include "ui/picturebutton.h"
#include "ui/schedulepage.h"
#include "ui/setuppage.h"
#include "mainwindowkit.h"

#ifdef ZANVIK_WEBENGINE
#include <QWebEnginePage>
#include <QWebEngineView>
#endif

using namespace std::chrono_literals;

namespace {

// The options and browser pages as the main window holds them.
class MainWindowPagesTest : public ::testing::Test, public MainWindowFixture {
protected:
    void ShowOptions() { QTest::mouseClick(Window().PaintBox(4), Qt::LeftButton); }
};

TEST_F(MainWindowPagesTest, TheOptionsComeFromTheSettingsAndGoBackWhenTheWindowGoes)
{
    Settings().minVolumn = 33;
    Settings().maxFileSize = 200 * 1024;
    Settings().USE_browser = false;
    Open();
    ShowOptions();
    EXPECT_EQ(Window().FrontPage(), Window().panSetup);
    TSetupPage& page = *Window().panSetup;
    EXPECT_EQ(page.spinQuota->value(), 33);
    EXPECT_EQ(page.spinMaxFileSize->value(), 200);
    EXPECT_EQ(page.RadioGroup1->ItemIndex(), 1);
    EXPECT_TRUE(page.rdbLan->isChecked());
    // The page is the window's; without the built-in browser none is placed.
    EXPECT_EQ(Window().panBrowser->WebBrowser1, nullptr);

    page.spinMaxFileSize->setValue(100);
    EXPECT_EQ(Settings().maxFileSize, 102400);
    // What was changed behind the page's back is put right when the window goes.
    Settings().maxSiteTime = 5;
    Settings().USE_lan = false;
    Destroy();
    EXPECT_EQ(Settings().maxSiteTime, 60);
    EXPECT_TRUE(Settings().USE_lan);
    EXPECT_FALSE(Settings().USE_browser);
    EXPECT_EQ(Settings().maxFileSize, 102400);
}

TEST_F(MainWindowPagesTest, TheBrowserIsPlacedAtTheFirstActivationOnTheWindowsPageServer)
{
    Settings().USE_browser = true;
    Open();
    TBrowserPage& page = *Window().panBrowser;
    ASSERT_NE(page.WebBrowser1, nullptr);
    const int top = page.edtBrowser->geometry().bottom() + 1 + 10;
    EXPECT_EQ(page.WebBrowser1->geometry(), QRect(10, top, page.width() - 20, page.height() - (top - 10) - 20));
    EXPECT_EQ(page.ProxyPort, Window().PageServer().TCPServer1.ListenPort());

    // "關閉" shows the page behind again.
    QTest::mouseClick(Window().PaintBox(2), Qt::LeftButton);
    Window().OpenSite("http://site.test/");
    EXPECT_EQ(Window().FrontPage(), Window().panBrowser);
    EXPECT_EQ(page.edtBrowser->text().toStdString(), "http://site.test/");
    QTest::mouseClick(page.BitBtn2, Qt::LeftButton);
    EXPECT_EQ(Window().FrontPage(), Window().panSchedule);
}

#ifdef ZANVIK_WEBENGINE

TEST_F(MainWindowPagesTest, AStoredSiteOpensInTheBuiltInBrowserThroughTheWindowsPageServer)
{
    folder.Home().Write("dns.ini", "[www]\nsite.test=10.1.2.3\n");
    folder.Home().Write("wwwData/10.1.2.3/default.htm", "<html><head><title>Stored</title></head><body>offline</body></html>");
    TDNS cache;
    SetHostCache(&cache);
    Settings().USE_browser = true;
    Open();
    TBrowserPage& page = *Window().panBrowser;
    std::string broken;
    bool loaded = false;
    QObject::connect(page.WebBrowser1->page(), &QWebEnginePage::renderProcessTerminated,
                     [&broken](QWebEnginePage::RenderProcessTerminationStatus, int code) {
                         broken = "the web engine's page process ended (" + std::to_string(code) + ")";
                     });
    QObject::connect(page.WebBrowser1, &QWebEngineView::loadFinished, [&loaded](bool) { loaded = true; });
    // A web engine that ran before in this process takes the window's proxy from its next
    // request on; a first request makes sure of it.
    Window().OpenSite("http://probe.test/");
    bool finished = WaitOnMain([&] { return loaded || !broken.empty(); }, 60s);
    loaded = false;
    ui.Clear();
    Window().OpenSite("http://site.test/");
    finished = finished && WaitOnMain([&] { return loaded || !broken.empty(); }, 60s);
    SetHostCache(nullptr);
    if (!broken.empty() || !finished)
        GTEST_SKIP() << (broken.empty() ? "the web engine did not load a page within 60 s" : broken);
    EXPECT_EQ(page.WebBrowser1->title().toStdString(), "Stored");
    // The window's status line heard of the loading, never of its end.
    EXPECT_TRUE(ui.WasShown("status", "正在開啟網頁 http://site.test/"));
    EXPECT_FALSE(ui.WasShown("status", "完成"));
}

#endif

}  // namespace
