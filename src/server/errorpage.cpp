#include "server/errorpage.h"

#include "platform/codepage.h"

namespace {

// The pieces every page begins with: the status line, the empty line, the head and the
// body's start; the brand line and the text font follow on two of the pages.
std::string Head()
{
    return "HTTP/1.0 200 OK\r\n"
           "\r\n"
           "<HTML>\r\n"
           "<HEAD><TITLE>"
        + Utf8ToBig5("Zanvik --- 錯誤訊息</TITLE></HEAD>") + "<BODY>\r\n";
}

std::string Brand()
{
    return "<font color=\"#AA00FF\" size=\"8\">Zanvik<br>"
           "<font color=\"#000000\" size=\"2\">";
}

// The address comes from the browser's request: written as text, so that a URL holding
// markup cannot put a script into the page of the site it names.
std::string Escaped(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Address(const std::string& PageURL)
{
    return "<font color=\"#FF0000\" size=\"3\">" + Escaped(PageURL);
}

std::string Tail()
{
    return "</BODY>\r\n"
           "</HTML>\r\n\r\n";
}

}  // namespace

std::string ErrorPage(TErrorPage kind, const std::string& PageURL)
{
    switch (kind) {
    case TErrorPage::NotStored:
        return Head() + Brand()
            + Utf8ToBig5("在硬碟上找不到你要的資料, 有可能是層數不夠深<br>"
                         "或是這個內容是CGI, 甚至是下載過程有問題<br>"
                         "也有可能是尚未下載完畢<br>")
            + Address(PageURL) + Tail();
    case TErrorPage::NoNetwork:
        return Head() + "<font color=\"#FF0000\" size=\"6\">" + Utf8ToBig5("網路無法連通,請檢查網路") + "\r\n" + Tail();
    case TErrorPage::DownloadFailed:
        return Head() + Brand() + Utf8ToBig5("下載網址失敗<br>") + Address(PageURL) + Tail();
    }
    return {};
}
