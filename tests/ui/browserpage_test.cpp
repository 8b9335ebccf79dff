#include <chrono>
#include <memory>
#include <string>

#include <QTest>
#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "core/settings.h"
#include "net/dns.h"
#include "server/pageserver.h"
#include "server/pageserverhost.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"
#include "support/testbitmap.h"
#include "ui/browserpage.h"

#ifdef ZANVIK_WEBENGINE
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>
#endif

using namespace std::chrono_literals;

namespace {

class StandInHost : public TPageServerHost {
public:
    int CurrentList() const override { return 0; }
    bool EnsureConnection() override { return true; }
};

// The web engine takes a new proxy only after a while, so every browser of this process
// uses one page server, on a port of its own. It answers from the program folder and the
// host cache of the test running, and lives until the process ends.
TPageServer& SharedPageServer()
{
    static StandInHost host;
    static TPageServer* server = [] {
        auto* made = new TPageServer(&host);
        made->TCPServer1.Port = "0";
        made->Open();
        return made;
    }();
    return *server;
}

class BrowserPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = Settings();
        MainWindowReady() = true;
        // The main window's page area: the browser page over another page.
        area.resize(793, 428);
        below = new QWidget(&area);
        page = new TBrowserPage(&area);
        page->ProxyPort = SharedPageServer().TCPServer1.ListenPort();
    }

    void TearDown() override
    {
        MainWindowReady() = false;
        Settings() = saved;
    }

    // True when the browser page lies above the other page of the area.
    bool InFront() const { return area.children().indexOf(page) > area.children().indexOf(below); }

    TempFolder home;
    ScriptedUi ui;
    TSettings saved;
    QWidget area;
    QWidget* below;
    TBrowserPage* page;
};

TEST_F(BrowserPageTest, TheStripOfControls)
{
    EXPECT_EQ(page->edtBrowser->geometry().left(), 10);
    EXPECT_EQ(page->edtBrowser->width(), 369);
    EXPECT_EQ(page->Animate2->size(), QSize(27, 27));
    EXPECT_EQ(page->Animate2->parentWidget(), page->panAnimate);
    EXPECT_EQ(page->panAnimate->frameShadow(), QFrame::Raised);
    EXPECT_EQ(page->Animate2->FrameCount(), 3);
    EXPECT_EQ(page->Animate2->Interval(), 500);
    EXPECT_EQ(page->Animate2->Frame(), 2);
    EXPECT_FALSE(page->Animate2->Play());
    const std::vector<QAbstractButton*> buttons{page->button1, page->SpeedButton3, page->BitBtn3, page->BitBtn4,
                                                page->BitBtn2};
    const std::vector<std::string> captions{"上一頁", "下一頁", "重新整理", "停止", "關閉"};
    int left = page->panAnimate->geometry().right();
    for (size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->text().toStdString(), captions[i]);
        EXPECT_GT(buttons[i]->geometry().left(), left) << captions[i];
        EXPECT_LE(buttons[i]->fontMetrics().horizontalAdvance(buttons[i]->text()) + 8, buttons[i]->width());
        left = buttons[i]->geometry().right();
    }
    EXPECT_LE(left, page->width());
    EXPECT_EQ(page->WebBrowser1, nullptr);  // until the main window's first activation
}

TEST_F(BrowserPageTest, TheBrowserIsPlacedBelowTheStrip)
{
    page->PlaceBrowser();
    ASSERT_NE(page->WebBrowser1, nullptr);
    const int top = page->edtBrowser->geometry().bottom() + 1 + 10;
    EXPECT_EQ(page->WebBrowser1->geometry(), QRect(10, top, 793 - 20, 428 - (top - 10) - 20));
    TWebBrowser* placed = page->WebBrowser1;
    page->PlaceBrowser();
    EXPECT_EQ(page->WebBrowser1, placed);
}

TEST_F(BrowserPageTest, CloseSendsThePageBackWhateverTheBrowserChoice)
{
    Settings().USE_browser = false;
    EXPECT_TRUE(InFront());
    QTest::mouseClick(page->BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(InFront());
    page->raise();
    Settings().USE_browser = true;
    QTest::mouseClick(page->BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(InFront());
}

TEST_F(BrowserPageTest, StopEndsTheAnimationOnlyForTheBuiltInBrowser)
{
    page->PlaceBrowser();
    Settings().USE_browser = false;
    page->Animate2->SetPlay(true);
    QTest::mouseClick(page->BitBtn4, Qt::LeftButton);
    EXPECT_TRUE(page->Animate2->Play());
    Settings().USE_browser = true;
    QTest::mouseClick(page->BitBtn4, Qt::LeftButton);
    EXPECT_FALSE(page->Animate2->Play());
}

TEST_F(BrowserPageTest, TheBrowsersEventsReachTheWindowOnlyWhileItIsReady)
{
    page->WebBrowser1StatusTextChange("http://site.test/a.htm");
    page->WebBrowser1StatusTextChange("完成");
    page->WebBrowser1StatusTextChange("");
    EXPECT_EQ(ui.Shown("status"), (std::vector<std::string>{"http://site.test/a.htm", ""}));
    page->Animate2->SetPlay(true);
    MainWindowReady() = false;
    page->WebBrowser1StatusTextChange("http://site.test/b.htm");
    page->WebBrowser1NavigateComplete();
    EXPECT_EQ(ui.Shown("status").size(), 2u);
    EXPECT_TRUE(page->Animate2->Play());
    MainWindowReady() = true;
    page->WebBrowser1NavigateComplete();
    EXPECT_FALSE(page->Animate2->Play());
}

#ifdef ZANVIK_WEBENGINE

// The built-in browser on the real page server over a stored site.
class WebBrowserTest : public BrowserPageTest {
protected:
    void SetUp() override
    {
        BrowserPageTest::SetUp();
        home.Write("dns.ini", "[www]\nsite.test=10.1.2.3\n");
        cache = std::make_unique<TDNS>();
        SetHostCache(cache.get());
        ASSERT_EQ(SharedPageServer().TCPServer1.State(), stListening);
        Settings().USE_browser = true;
        page->PlaceBrowser();
        area.show();
        QObject::connect(page->WebBrowser1->page(), &QWebEnginePage::renderProcessTerminated,
                         [this](QWebEnginePage::RenderProcessTerminationStatus, int code) {
                             broken = "the web engine's page process ended (" + std::to_string(code) + ")";
                         });
        QObject::connect(page->WebBrowser1, &QWebEngineView::loadFinished, [this](bool) { ++loads; });
        // A first page shows whether the web engine can run here at all; and a web engine
        // that ran before in this process takes the new proxy from its next request on.
        page->WebBrowser1->setUrl(QUrl("http://probe.test/"));
        if (!Loaded())
            GTEST_SKIP() << (broken.empty() ? "the web engine did not start within 60 s" : broken);
    }

    void TearDown() override
    {
        delete page;
        // Requests the browser left behind are answered within this test, so that their
        // animation calls do not reach the next one's interface.
        TPageServer& server = SharedPageServer();
        WaitOnMain([&] { return server.Answering() == 0 && server.TCPServer1.Clients().Count() == 0; }, 5s);
        SetHostCache(nullptr);
        BrowserPageTest::TearDown();
    }

    // Serves the main thread until the next page has loaded.
    bool Loaded()
    {
        const int target = loads + 1;
        return WaitOnMain([&] { return loads >= target || !broken.empty(); }, 60s) && broken.empty();
    }

    void Open(const std::string& url)
    {
        page->edtBrowser->setText(QString::fromStdString(url));
        QTest::keyClick(page->edtBrowser, Qt::Key_Return);
        ASSERT_TRUE(Loaded()) << url << ": " << broken;
    }

    std::string Title() const { return page->WebBrowser1->title().toStdString(); }

    std::string Text()
    {
        std::string text;
        bool done = false;
        page->WebBrowser1->page()->toPlainText([&](const QString& plain) {
            text = plain.toStdString();
            done = true;
        });
        WaitOnMain([&] { return done; }, 10s);
        return text;
    }

    void Store(const std::string& path, const std::string& content) { home.Write("wwwData/10.1.2.3/" + path, content); }

    std::unique_ptr<TDNS> cache;
    int loads = 0;
    std::string broken;
};

TEST_F(WebBrowserTest, AStoredPageShowsWithItsPicture)
{
    Store("page.htm",
          "<html><head><title>Stored</title></head><body><p>offline</p>"
          "<img src=\"pic/seven.bmp\" onload=\"document.title='Stored '+this.naturalWidth+'x'+this.naturalHeight\">"
          "</body></html>");
    Store("pic/seven.bmp", TestBitmap(7, 5));
    Open("http://site.test/page.htm");
    WaitOnMain([&] { return Title() == "Stored 7x5"; }, 10s);
    EXPECT_EQ(Title(), "Stored 7x5");
    EXPECT_EQ(Text(), "offline");
    // The status line heard of the page's loading, never of its end.
    EXPECT_TRUE(ui.WasShown("status", "正在開啟網頁 http://site.test/page.htm"));
    EXPECT_FALSE(ui.WasShown("status", "完成"));
}

TEST_F(WebBrowserTest, AnHttpsAddressOfAStoredSiteShowsItsStoredPage)
{
    Store("secure/page.htm", "<html><head><title>Secure</title></head><body>stored</body></html>");
    Open("https://site.test/secure/page.htm");
    EXPECT_EQ(Title(), "Secure");
    EXPECT_EQ(Text(), "stored");
}

TEST_F(WebBrowserTest, AMissingPageShowsTheNotStoredPage)
{
    Open("http://site.test/missing.htm");
    EXPECT_EQ(Title(), "Zanvik --- 錯誤訊息");
    const std::string text = Text();
    EXPECT_NE(text.find("在硬碟上找不到你要的資料"), std::string::npos) << text;
    EXPECT_NE(text.find("http://site.test/missing.htm"), std::string::npos) << text;
}

TEST_F(WebBrowserTest, WithTheUsersOwnBrowserChosenTheCommandsDoNothing)
{
    Store("one.htm", "<title>one</title>");
    Store("two.htm", "<title>two</title>");
    Open("http://site.test/one.htm");
    Open("http://site.test/two.htm");
    Settings().USE_browser = false;
    const int before = loads;
    QTest::mouseClick(page->button1, Qt::LeftButton);
    QTest::mouseClick(page->BitBtn3, Qt::LeftButton);
    page->edtBrowser->setText("http://site.test/one.htm");
    QTest::keyClick(page->edtBrowser, Qt::Key_Return);
    QTest::qWait(500);
    EXPECT_EQ(loads, before);
    EXPECT_EQ(Title(), "two");

    Settings().USE_browser = true;
    QTest::mouseClick(page->button1, Qt::LeftButton);
    ASSERT_TRUE(Loaded());
    EXPECT_EQ(Title(), "one");
    Settings().USE_browser = false;
    QTest::mouseClick(page->SpeedButton3, Qt::LeftButton);
    QTest::qWait(500);
    EXPECT_EQ(Title(), "one");
    Settings().USE_browser = true;
    QTest::mouseClick(page->SpeedButton3, Qt::LeftButton);
    ASSERT_TRUE(Loaded());
    EXPECT_EQ(Title(), "two");
}

#endif

}  // namespace
