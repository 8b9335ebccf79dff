#include "grab/linkscanner.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <utility>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/text.h"
#include "core/urldatabase.h"
#include "core/userinterface.h"
#include "grab/graberrors.h"
#include "grab/parser.h"

namespace {

// Blank, "<", ">", "=", double quote, CR, LF and backspace; a tab is part of a word.
constexpr std::string_view Delimiters{" <>=\"\r\n\b", 8};

const std::string OtherSchemes[] = {"ftp:", "mailto:", "file:", "gopher:"};

void HandToCrawlLists(const std::vector<TQueuedLink>& links)
{
    Synchronize([&links] {
        for (const TQueuedLink& link : links)
            UrlDatabase().AddPending(link.url, link.level);
    });
}

// The whole page file in memory. A folder or other file that is no regular one counts
// as a file that cannot be opened.
std::string LoadPage(const std::string& path)
{
    std::error_code failed;
    std::uintmax_t size = std::filesystem::file_size(path, failed);
    std::ifstream in(path, std::ios::binary);
    if (failed || !in)
        throw EParseHeader("打不開檔案");
    std::string content(static_cast<size_t>(size), '\0');
    in.read(content.data(), static_cast<std::streamsize>(size));
    if (in.bad() || static_cast<std::uintmax_t>(in.gcount()) != size)
        throw EParseHeader("打不開檔案");
    return content;
}

void ShowError(const std::string& text)
{
    Synchronize([&text] { Ui().Error(text); });
}

// One guarded step of reading a value: an unexpected error is shown with the step's
// code and ends the value there, with what was read so far. The grabber's own errors
// are the thread's to handle.
template <typename Step> bool Guarded(const char* code, Step step)
{
    try {
        return step();
    } catch (const EGrabError&) {
        throw;
    } catch (const std::exception& error) {
        ShowError(std::string(code) + error.what());
        return false;
    }
}

bool IsOtherScheme(const std::string& value)
{
    for (const std::string& scheme : OtherSchemes)
        if (StartsWithText(value, scheme))
            return true;
    return false;
}

bool IsHtmlType(const std::string& contentType)
{
    return SameText(contentType, "text/html") || SameText(contentType, "text/htm");
}

// Nothing left after trimming blanks and control characters, tested without a copy.
bool IsBlankText(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

bool HasQueryOrFragment(const std::string& text)
{
    return text.find('?') != std::string::npos || text.find('#') != std::string::npos;
}

bool EndsValue(std::string_view token)
{
    return token == ">" || token == " " || token == "\"";
}

// Line breaks inside a quoted value are dropped.
bool IsLineBreak(std::string_view token)
{
    return !token.empty() && (token[0] == '\b' || token[0] == '\n' || token[0] == '\r');
}

}  // namespace

TLinkScanner::TLinkScanner() : TLinkScanner(HandToCrawlLists) {}

TLinkScanner::TLinkScanner(TLinkSink sink) : sink(std::move(sink)) {}

void TLinkScanner::ScanPage(const TScanRequest& request)
{
    hyperlinkSeen = false;
    armed = false;
    std::string content = LoadPage(request.pageFile);
    TParser tokens(content, Delimiters);
    page = &request;
    parser = &tokens;
    try {
        ScanTokens();
    } catch (...) {
        FlushAfterFailure();
        throw;
    }
    page = nullptr;
    parser = nullptr;
    Flush();
}

void TLinkScanner::ScanTokens()
{
    while (!parser->AtEnd()) {
        if (Stopped())
            return;
        switch (TParser::TokenKind(parser->NextToken())) {
        case TParser::Src:
        case TParser::Background:
            armed = inTag > 0;
            break;
        case TParser::Href:
            armed = page->level > 0 && inTag > 0;
            hyperlinkSeen = true;
            break;
        case TParser::TagOpen:
            inTag = 1;
            break;
        case TParser::TagClose:
            --inTag;
            break;
        case TParser::Equals:
            if (armed) {
                armed = false;
                QueueLink(ReadLinkValue());
            }
            break;
        case TParser::Redirect:
            // The value is read at once, whether Armed or not: no "=" is awaited.
            armed = inTag > 0;
            hyperlinkSeen = true;
            QueueLink(ReadLinkValue());
            break;
        default:
            break;
        }
    }
}

std::string TLinkScanner::ReadLinkValue()
{
    std::string value;
    try {
        ReadValueTokens(value);
        return Trim(ReplaceChar(std::move(value), '"', ' '));
    } catch (const EGrabError&) {
        throw;
    } catch (const std::exception& error) {
        ShowError(std::string("錯誤代碼:1107") + error.what());
        return {};
    }
}

// The parser stands just after the "=" or the "redirect". A value ends at the first
// blank, double quote or ">", so a quoted value with a blank in it is cut at the blank.
void TLinkScanner::ReadValueTokens(std::string& value)
{
    if (parser->AtEnd())
        return;
    std::string_view token;
    auto firstToken = [&] {
        token = parser->NextToken();
        return true;
    };
    bool complete = Guarded("錯誤代碼:1107-1", firstToken)
        && Guarded("錯誤代碼:1107-2", [&] { return SkipBlanks(token); })
        && Guarded("錯誤代碼:1107-3", [&] { return OpenQuote(token); })
        && Guarded("錯誤代碼:1107-4", [&] { return AppendTokens(token, value); });
    if (complete && token == ">")
        --inTag;
}

// Each of these gives false when the value ends early: on a stop or at the end of the page.
bool TLinkScanner::SkipBlanks(std::string_view& token)
{
    while (token == " ") {
        if (Stopped())
            return false;
        token = parser->NextToken();
        if (parser->AtEnd())
            return false;
    }
    return true;
}

bool TLinkScanner::OpenQuote(std::string_view& token)
{
    if (token != "\"")
        return true;
    token = parser->NextToken();
    return !parser->AtEnd();
}

bool TLinkScanner::AppendTokens(std::string_view& token, std::string& value)
{
    while (!EndsValue(token)) {
        if (Stopped())
            return false;
        if (!IsLineBreak(token))
            value.append(token);
        token = parser->NextToken();
        if (parser->AtEnd())
            return false;
    }
    return true;
}

void TLinkScanner::QueueLink(const std::string& value)
{
    // "=" leaves out every query of the form name=value.
    if (value.find('=') != std::string::npos || IsBlankText(value) || IsOtherScheme(value))
        return;
    // A "?" or "#" of the value stays in the resolved link, which is then dropped: such
    // values skip the costly resolution. Only the detail request of one that cannot be
    // resolved is lost, and detail lines are not kept.
    if (HasQueryOrFragment(value))
        return;
    std::string resolved = page->pageUrl.Combine(value).URLText();
    if (resolved.size() < 5)
        TLog::Detail("#############新鏈結" + page->pageUrl.URLText() + "+" + value + "->" + resolved);
    if (IsBlankText(resolved) || HasQueryOrFragment(resolved))
        return;
    if (page->textOnly && !IsHtmlType(page->contentType))
        return;
    batch.push_back({std::move(resolved), hyperlinkSeen ? page->level - 1 : page->level});
    hyperlinkSeen = false;
    if (batch.size() >= BatchSize)
        Flush();
}

void TLinkScanner::Flush()
{
    if (batch.empty())
        return;
    std::vector<TQueuedLink> links;
    links.swap(batch);
    sink(links);
    links.clear();
    batch.swap(links);
}

// The links found before a failure are still handed over; a failure of that hand-over
// is swallowed, as errors in clean-up are, so that the scan's own error is the one seen.
void TLinkScanner::FlushAfterFailure()
{
    page = nullptr;
    parser = nullptr;
    try {
        Flush();
    } catch (...) {
        batch.clear();
    }
}

bool TLinkScanner::Stopped() const
{
    return page->stopped && page->stopped();
}
