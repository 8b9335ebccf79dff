#if ZANVIK_WEBENGINE

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

// Before Qt's headers, whose "signals" keyword would take a member of that name.
#include "support/scriptedserver.h"

#include <QNetworkProxy>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include "core/mainthread.h"
#include "net/dns.h"
#include "support/tempfolder.h"
#include "ui/browserinterceptor.h"

using namespace std::chrono_literals;

namespace {

class BrowserInterceptor : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.Write("dns.ini", "[www]\nwww.example.com=127.0.0.1\n");
        cache = std::make_unique<TDNS>();
        SetHostCache(cache.get());
    }
    void TearDown() override { SetHostCache(nullptr); }

    static QString Twin(const char* url) { return TBrowserInterceptor::HttpTwin(QUrl(url)).toString(); }

    TempFolder folder;
    std::unique_ptr<TDNS> cache;
};

TEST_F(BrowserInterceptor, AnHttpsAddressOfACachedHostBecomesItsHttpTwin)
{
    EXPECT_EQ(Twin("https://www.example.com/dir/page.htm"), "http://www.example.com/dir/page.htm");
    EXPECT_EQ(Twin("https://WWW.Example.COM/"), "http://www.example.com/");
    EXPECT_EQ(Twin("https://www.example.com:443/a.gif?x=1#top"), "http://www.example.com/a.gif?x=1#top");
    EXPECT_EQ(Twin("https://www.example.com:8443/a.htm"), "http://www.example.com:8443/a.htm");
}

TEST_F(BrowserInterceptor, EverythingElseGoesAsItIs)
{
    for (const char* url : {"http://www.example.com/", "https://other.example.com/", "ftp://www.example.com/",
                            "wss://www.example.com/", "https:///nohost", "data:text/html,x"})
        EXPECT_EQ(Twin(url), "") << url;
    SetHostCache(nullptr);
    EXPECT_EQ(Twin("https://www.example.com/"), "");
}

// A real web engine page whose proxy records what it is asked: with the interceptor the
// page server is asked for the http twin; without it, for a tunnel it cannot give.
TEST_F(BrowserInterceptor, TheBrowserPageAsksThePageServerForTheHttpTwin)
{
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    ScriptedServer proxy;
    proxy.SetDefault(ScriptedServer::Script::Answer(
        "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><title>stored</title></html>"));
    QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, "127.0.0.1", proxy.Port()));
    for (bool installed : {true, false}) {
        QWebEngineProfile profile;
        TBrowserInterceptor interceptor;
        if (installed)
            profile.setUrlRequestInterceptor(&interceptor);
        QWebEnginePage page(&profile);
        int connections = proxy.Connections();
        page.load(QUrl("https://www.example.com/dir/page.htm"));
        ASSERT_TRUE(WaitOnMain([&] { return proxy.Request(connections).find("\r\n\r\n") != std::string::npos; }, 30s))
            << installed;
        std::string request = proxy.Request(connections);
        if (installed)
            EXPECT_TRUE(request.starts_with("GET http://www.example.com/dir/page.htm HTTP/1.1\r\n")) << request;
        else
            EXPECT_TRUE(request.starts_with("CONNECT www.example.com:443 ")) << request;
        page.triggerAction(QWebEnginePage::Stop);
    }
    QNetworkProxy::setApplicationProxy(QNetworkProxy());
}

}  // namespace

#endif
