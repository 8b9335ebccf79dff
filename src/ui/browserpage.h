#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include "ui/animated.h"

#ifdef ZANVIK_WEBENGINE
class QWebEngineView;
using TWebBrowser = QWebEngineView;
#else
#include <QLabel>
using TWebBrowser = QLabel;  // says that this build shows sites in the user's own browser
#endif

// The built-in browser page of the main window: an address box, the animation that plays
// while the page server sends, the navigation buttons, and the browser below them. The
// browser reaches the stored pages through the page server as its proxy, 127.0.0.1 on
// ProxyPort, set on the web engine itself whatever the system's proxy settings say.
// Every browser command does nothing while the settings choose the user's own browser;
// "關閉" sends the page behind its sibling pages in any case.
class TBrowserPage : public QWidget {
public:
    explicit TBrowserPage(QWidget* parent = nullptr);

    // The page server's port; the screenshots and the tests use a server of their own and
    // set its port before PlaceBrowser.
    int ProxyPort = 8088;

    // The main window's first activation: makes WebBrowser1 below the strip of controls.
    void PlaceBrowser();
    // Opening a site: the address goes into edtBrowser and the browser goes there.
    void OpenSite(const QString& url);
    // The main window's closing: the browser stops loading.
    void StopBrowser();

    // The browser's two events.
    void WebBrowser1NavigateComplete();
    void WebBrowser1StatusTextChange(const QString& text);

    QLineEdit* edtBrowser;
    QFrame* panAnimate;  // the raised frame round Animate2
    TAnimated* Animate2;
    QPushButton* button1;
    QToolButton* SpeedButton3;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QPushButton* BitBtn2;
    TWebBrowser* WebBrowser1 = nullptr;  // made by PlaceBrowser

private:
    void webRunClick();
    void button1Click();
    void SpeedButton3Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn2Click();
    void ConnectBrowser();
#ifdef ZANVIK_WEBENGINE
    bool BrowserInUse() const;
    QString OpeningText() const;

    bool loading = false;  // between the browser's load start and its end
#endif
};
