#include <string>

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "server/errorpage.h"

namespace {

const std::string kHead =
    "HTTP/1.0 200 OK\r\n\r\n<HTML>\r\n<HEAD><TITLE>Zanvik --- 錯誤訊息</TITLE></HEAD><BODY>\r\n";
const std::string kBrand = "<font color=\"#AA00FF\" size=\"8\">Zanvik<br><font color=\"#000000\" size=\"2\">";
const std::string kTail = "</BODY>\r\n</HTML>\r\n\r\n";

}  // namespace

TEST(ErrorPage, NotStoredNamesThePageAsReceived)
{
    const std::string url = "http://site.test/a b.htm?x=1";
    EXPECT_EQ(Big5ToUtf8(ErrorPage(TErrorPage::NotStored, url)),
              kHead + kBrand + "在硬碟上找不到你要的資料, 有可能是層數不夠深<br>或是這個內容是CGI, 甚至是下載過程有問題<br>"
                  "也有可能是尚未下載完畢<br><font color=\"#FF0000\" size=\"3\">" + url + kTail);
}

TEST(ErrorPage, NoNetworkHasNoAddressAndDownloadFailedHasOne)
{
    EXPECT_EQ(Big5ToUtf8(ErrorPage(TErrorPage::NoNetwork, "http://site.test/")),
              kHead + "<font color=\"#FF0000\" size=\"6\">網路無法連通,請檢查網路\r\n" + kTail);
    EXPECT_EQ(Big5ToUtf8(ErrorPage(TErrorPage::DownloadFailed, "http://x.test/")),
              kHead + kBrand + "下載網址失敗<br><font color=\"#FF0000\" size=\"3\">http://x.test/" + kTail);
}

TEST(ErrorPage, TheChineseGoesOutInBig5AndTheAddressAsItIs)
{
    // 錯誤 is BF F9 BB 7E in Big5.
    const std::string page = ErrorPage(TErrorPage::NotStored, "http://site.test/\xE4\xB8\xAD");
    EXPECT_NE(page.find("Zanvik --- \xBF\xF9\xBB\x7E"), std::string::npos);
    EXPECT_EQ(page.find("錯誤"), std::string::npos);
    EXPECT_NE(page.find("size=\"3\">http://site.test/\xE4\xB8\xAD</BODY>"), std::string::npos);
}

TEST(ErrorPage, MarkupInTheAddressIsShownAsText)
{
    const std::string page = ErrorPage(TErrorPage::NotStored, "http://site.test/<script>alert(\"x&y\")</script>");
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("http://site.test/&lt;script&gt;alert(&quot;x&amp;y&quot;)&lt;/script&gt;</BODY>"),
              std::string::npos);
}
