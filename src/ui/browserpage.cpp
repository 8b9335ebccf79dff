#include "ui/browserpage.h"

#include <QLabel>
#include <QUrl>

#include "core/settings.h"
#include "core/userinterface.h"
#include "ui/systempicture.h"

#ifdef ZANVIK_WEBENGINE
#include <QNetworkProxy>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "ui/browserinterceptor.h"
#else
#include "ui/desktopopen.h"
#endif

namespace {

const char* const kDone = "完成";

QPushButton* Button(const QString& caption, int left, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(left, 6, 70, 30);
    return button;
}

}  // namespace

TBrowserPage::TBrowserPage(QWidget* parent) : QWidget(parent)
{
    resize(793, 428);
    edtBrowser = new QLineEdit(this);
    edtBrowser->setGeometry(10, 8, 369, 26);

    panAnimate = new QFrame(this);
    panAnimate->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panAnimate->setLineWidth(2);
    panAnimate->setGeometry(386, 5, 31, 31);
    Animate2 = new TAnimated(panAnimate);
    Animate2->SetBitMap(SystemPicture("browse.bmp"));
    Animate2->setGeometry(2, 2, 27, 27);
    Animate2->SetFrameCount(3);
    Animate2->SetInterval(500);
    Animate2->SetFrame(2);

    button1 = Button("上一頁", 424, this);
    SpeedButton3 = new QToolButton(this);
    SpeedButton3->setText("下一頁");
    SpeedButton3->setGeometry(496, 6, 70, 30);
    BitBtn3 = Button("重新整理", 568, this);
    BitBtn4 = Button("停止", 640, this);
    BitBtn2 = Button("關閉", 712, this);

    connect(edtBrowser, &QLineEdit::returnPressed, this, [this] { webRunClick(); });
    connect(button1, &QPushButton::clicked, this, [this] { button1Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

#ifdef ZANVIK_WEBENGINE
bool TBrowserPage::BrowserInUse() const
{
    return Settings().USE_browser && WebBrowser1 != nullptr;
}
#endif

void TBrowserPage::PlaceBrowser()
{
    if (WebBrowser1)
        return;
#ifdef ZANVIK_WEBENGINE
    // The web engine reads the application's proxy; the page server is the only way to
    // the stored pages, whatever the desktop's proxy settings say.
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, "127.0.0.1", static_cast<quint16>(ProxyPort)));
    WebBrowser1 = new QWebEngineView(this);
    // A profile of the page's own, kept in memory, that sends the https requests for the
    // stored sites to the page server as their http twins. Made after the view, so that
    // it outlives the view's page.
    auto* profile = new QWebEngineProfile(this);
    profile->setUrlRequestInterceptor(new TBrowserInterceptor(profile));
    WebBrowser1->setPage(new QWebEnginePage(profile, WebBrowser1));
#else
    WebBrowser1 = new QLabel("這個版本沒有內建的瀏覽器,\n網頁會用你原來的瀏覽器開啟", this);
    WebBrowser1->setAlignment(Qt::AlignCenter);
    WebBrowser1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
#endif
    const int top = edtBrowser->geometry().bottom() + 1 + 10;
    WebBrowser1->setGeometry(10, top, width() - 20, height() - (top - 10) - 20);
    WebBrowser1->show();
    ConnectBrowser();
}

void TBrowserPage::ConnectBrowser()
{
#ifdef ZANVIK_WEBENGINE
    // The web engine has no status text of its own: the text follows the loading and the
    // link under the pointer, as a browser's status line shows them.
    connect(WebBrowser1, &QWebEngineView::loadStarted, this, [this] {
        loading = true;
        WebBrowser1StatusTextChange(OpeningText());
    });
    connect(WebBrowser1, &QWebEngineView::loadFinished, this, [this](bool) {
        loading = false;
        WebBrowser1NavigateComplete();
        WebBrowser1StatusTextChange(kDone);
    });
    connect(WebBrowser1->page(), &QWebEnginePage::linkHovered, this, [this](const QString& url) {
        WebBrowser1StatusTextChange(!url.isEmpty() ? url : loading ? OpeningText() : kDone);
    });
#endif
}

#ifdef ZANVIK_WEBENGINE
QString TBrowserPage::OpeningText() const
{
    return "正在開啟網頁 " + WebBrowser1->url().toString();
}
#endif

void TBrowserPage::OpenSite(const QString& url)
{
    edtBrowser->setText(url);
    webRunClick();
}

void TBrowserPage::StopBrowser()
{
#ifdef ZANVIK_WEBENGINE
    if (WebBrowser1)
        WebBrowser1->stop();
#endif
}

void TBrowserPage::webRunClick()
{
    if (!Settings().USE_browser)
        return;
#ifdef ZANVIK_WEBENGINE
    if (WebBrowser1)
        WebBrowser1->setUrl(QUrl::fromUserInput(edtBrowser->text()));
#else
    OpenWebAddress(edtBrowser->text().toStdString());
#endif
}

void TBrowserPage::button1Click()
{
#ifdef ZANVIK_WEBENGINE
    if (BrowserInUse())
        WebBrowser1->back();
#endif
}

void TBrowserPage::SpeedButton3Click()
{
#ifdef ZANVIK_WEBENGINE
    if (BrowserInUse())
        WebBrowser1->forward();
#endif
}

void TBrowserPage::BitBtn3Click()
{
#ifdef ZANVIK_WEBENGINE
    if (BrowserInUse())
        WebBrowser1->reload();
#endif
}

void TBrowserPage::BitBtn4Click()
{
    if (!Settings().USE_browser)
        return;
    StopBrowser();
    Animate2->SetPlay(false);
}

// The main window stacks its pages in one area; the page behind this one shows again.
void TBrowserPage::BitBtn2Click()
{
    lower();
}

void TBrowserPage::WebBrowser1NavigateComplete()
{
    if (MainWindowReady())
        Animate2->SetPlay(false);
}

void TBrowserPage::WebBrowser1StatusTextChange(const QString& text)
{
    if (MainWindowReady() && text != kDone)
        Ui().Status(text.toStdString());
}
