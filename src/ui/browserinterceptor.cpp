#include "ui/browserinterceptor.h"

#include <QWebEngineUrlRequestInfo>

#include "net/dns.h"

namespace {

constexpr int SecurePort = 443;

}  // namespace

void TBrowserInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    QUrl twin = HttpTwin(info.requestUrl());
    if (!twin.isEmpty())
        info.redirect(twin);
}

QUrl TBrowserInterceptor::HttpTwin(const QUrl& url)
{
    TDNS* cache = HostCache();
    if (!cache || url.scheme() != "https")
        return {};
    // The grabber knows hosts by the names it connected to, which are ASCII.
    std::string host = url.host(QUrl::FullyEncoded).toStdString();
    if (host.empty() || cache->Lookup(host).empty())
        return {};
    QUrl twin = url;
    twin.setScheme("http");
    if (twin.port() == SecurePort)
        twin.setPort(-1);
    return twin;
}
