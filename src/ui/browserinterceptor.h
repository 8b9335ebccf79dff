#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

// Sends the built-in browser's https requests for sites in the host cache to the page
// server as their http twins. The store keeps an https page where it keeps its http
// twin, and the page server, the browser's proxy, answers http requests only; so the
// links of a stored https site work in the browser page. Install it on the browser
// page's QWebEngineProfile with setUrlRequestInterceptor.
class TBrowserInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // The http twin of url (port 443 dropped, any other kept) when url is an https
    // address of a host in the host cache; an empty url when it goes as it is.
    static QUrl HttpTwin(const QUrl& url);
};
