#include "grab/linkscanner.h"

#include <exception>
#include <string_view>
#include <utility>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/urldatabase.h"
#include "core/userinterface.h"
#include "grab/graberrors.h"
#include "grab/parser.h"
#include "grab/srcset.h"
#include "grab/stylesheet.h"

namespace {

// Blank, "<", ">", "=", double quote, CR, LF and backspace; a tab is part of a word.
constexpr std::string_view Delimiters{" <>=\"\r\n\b", 8};

const std::string OtherSchemes[] = {"ftp:", "mailto:", "file:", "gopher:", "javascript:", "data:"};

// The whole page file in memory. A folder or other file that is no regular one counts
// as a file that cannot be opened.
std::string LoadPage(const std::string& path)
{
    std::string content;
    if (!ReadWholeFile(path, content))
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
    // Most links are relative: no ":" spares the comparisons.
    if (value.find(':') == std::string::npos)
        return false;
    for (const std::string& scheme : OtherSchemes)
        if (StartsWithText(value, scheme))
            return true;
    return false;
}

// The media type of a Content-Type value: the text before any ";" parameters (a
// character set, as nearly every site sends today), without the blanks around it.
std::string MediaType(const std::string& contentType)
{
    return Trim(contentType.substr(0, contentType.find(';')));
}

bool IsHtmlType(const std::string& contentType)
{
    std::string type = MediaType(contentType);
    return SameText(type, "text/html") || SameText(type, "text/htm");
}

bool IsStyleSheetType(const std::string& contentType)
{
    return SameText(MediaType(contentType), "text/css");
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

// One address as written in an attribute: line breaks inside it are dropped, a double
// quote counts as a blank, and blanks around it go.
std::string CleanAddress(std::string value)
{
    std::erase_if(value, [](char c) { return c == '\b' || c == '\n' || c == '\r'; });
    return Trim(ReplaceChar(std::move(value), '"', ' '));
}

// Where the sheet of a <style> block ends: at its closing tag or the end of the page.
size_t StyleBlockLength(std::string_view rest)
{
    for (size_t at = rest.find('<'); at != std::string_view::npos; at = rest.find('<', at + 1))
        if (StartsWithText(std::string(rest.substr(at, 7)), "</style"))
            return at;
    return rest.size();
}

}  // namespace

void QueueLinks(const std::vector<TQueuedLink>& links)
{
    for (const TQueuedLink& link : links)
        UrlDatabase().AddPending(link.url, link.level);
}

TLinkScanner::TLinkScanner() : TLinkScanner(QueueLinks) {}

TLinkScanner::TLinkScanner(TLinkSink sink) : sink(std::move(sink)) {}

bool TLinkScanner::IsScanned(const std::string& contentType)
{
    return IsHtmlType(contentType) || IsStyleSheetType(contentType);
}

void TLinkScanner::ScanPage(const TScanRequest& request)
{
    hyperlinkSeen = false;
    armed = false;
    styleBlock = false;
    std::string content = LoadPage(request.pageFile);
    TParser tokens(content, Delimiters);
    page = &request;
    parser = &tokens;
    try {
        if (IsStyleSheetType(request.contentType))
            ScanStyleSheet(content);
        else
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
    int previous = TParser::Other;
    while (!parser->AtEnd()) {
        if (Stopped())
            return;
        int kind = TParser::TokenKind(parser->NextToken());
        switch (kind) {
        case TParser::Src:
        case TParser::Background:
        case TParser::DataSrc:
        case TParser::Poster:
            Arm(ValueForm::Address);
            break;
        case TParser::Srcset:
        case TParser::DataSrcset:
            Arm(ValueForm::AddressList);
            break;
        case TParser::Style:
            // "<style" opens a block; elsewhere in a tag the word is an attribute.
            if (previous == TParser::TagOpen)
                styleBlock = true;
            else
                Arm(ValueForm::StyleText);
            break;
        case TParser::Href:
            armed = page->level > 0 && inTag > 0;
            form = ValueForm::Address;
            hyperlinkSeen = true;
            break;
        case TParser::TagOpen:
            inTag = 1;
            styleBlock = false;
            break;
        case TParser::TagClose:
            CloseTag();
            break;
        case TParser::Equals:
            if (armed) {
                armed = false;
                QueueValue();
            }
            break;
        case TParser::Redirect:
            // The value is read at once, whether Armed or not: no "=" is awaited.
            armed = inTag > 0;
            form = ValueForm::Address;
            hyperlinkSeen = true;
            QueueLink(CleanAddress(ReadLinkValue()));
            break;
        default:
            break;
        }
        previous = kind;
    }
}

// Pictures and the other values that are no hyperlinks are queued from pages of every
// level.
void TLinkScanner::Arm(ValueForm valueForm)
{
    armed = inTag > 0;
    form = valueForm;
}

void TLinkScanner::CloseTag()
{
    --inTag;
    if (styleBlock) {
        styleBlock = false;
        ScanStyleBlock();
    }
}

// The parser stands just after the ">" of a <style> tag. The sheet is scanned as one and
// passed over, so that its words are not taken for attributes.
void TLinkScanner::ScanStyleBlock()
{
    std::string_view rest = parser->Rest();
    size_t length = StyleBlockLength(rest);
    ScanStyleSheet(rest.substr(0, length));
    parser->Skip(length);
}

// The addresses of a sheet are resolved against its own address: the page's, for a sheet
// of its own or one inside an HTML page.
void TLinkScanner::ScanStyleSheet(std::string_view sheet)
{
    TStyleSheet links(sheet);
    TStyleLink link;
    while (links.NextLink(link)) {
        if (Stopped())
            return;
        QueueLink(std::string(link.address), link.import);
    }
}

void TLinkScanner::QueueValue()
{
    std::string value = ReadLinkValue();
    switch (form) {
    case ValueForm::Address:
        QueueLink(CleanAddress(std::move(value)));
        break;
    case ValueForm::AddressList: {
        TSrcset list(value);
        std::string_view url;
        while (list.NextUrl(url))
            QueueLink(std::string(url));
        break;
    }
    case ValueForm::StyleText:
        ScanStyleSheet(value);
        break;
    }
}

std::string TLinkScanner::ReadLinkValue()
{
    std::string value;
    try {
        ReadValueTokens(value);
    } catch (const EGrabError&) {
        throw;
    } catch (const std::exception& error) {
        ShowError(std::string("錯誤代碼:1107") + error.what());
        return {};
    }
    return value;
}

// The parser stands just after the "=" or the "redirect". A quoted value, in double or
// single quotes, ends at its closing quote; one without quotes ends at the first blank,
// double quote or ">".
void TLinkScanner::ReadValueTokens(std::string& value)
{
    if (parser->AtEnd())
        return;
    std::string_view token;
    char quote = 0;
    auto firstToken = [&] {
        token = parser->NextToken();
        return true;
    };
    auto openQuote = [&] {
        OpenQuote(token, quote);
        return true;
    };
    auto readValue = [&] {
        if (!quote)
            return AppendTokens(token, value);
        value = parser->TakeUntil(quote);
        return true;
    };
    bool complete = Guarded("錯誤代碼:1107-1", firstToken)
        && Guarded("錯誤代碼:1107-2", [&] { return SkipBlanks(token); })
        && Guarded("錯誤代碼:1107-3", openQuote)
        && Guarded("錯誤代碼:1107-4", readValue);
    if (complete && !quote && token == ">")
        CloseTag();
}

// SkipBlanks and AppendTokens give false when the value ends early: on a stop or at the
// end of the page.
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

// A double quote is a token of its own; a single quote begins a word, so the parser
// steps back to just after it.
void TLinkScanner::OpenQuote(std::string_view token, char& quote)
{
    if (token == "\"") {
        quote = '"';
    } else if (token.starts_with('\'')) {
        quote = '\'';
        parser->StepBack(token.size() - 1);
    }
}

bool TLinkScanner::AppendTokens(std::string_view& token, std::string& value)
{
    while (!EndsValue(token)) {
        if (Stopped())
            return false;
        value.append(token);
        token = parser->NextToken();
        if (parser->AtEnd())
            return false;
    }
    return true;
}

// namesStyleSheet: the address of an @import, a sheet, which is text.
void TLinkScanner::QueueLink(std::string value, bool namesStyleSheet)
{
    // A fragment names a part of its page: the page is queued without it, and "#part"
    // alone, this page itself, is left out as empty.
    size_t fragment = value.find('#');
    if (fragment != std::string::npos)
        value.resize(fragment);
    // "=" leaves out every query of the form name=value.
    if (value.find('=') != std::string::npos || IsBlankText(value) || IsOtherScheme(value))
        return;
    // A "?" of the value stays in the resolved link, which is then dropped: such values
    // skip the costly resolution. Only the detail request of one that cannot be resolved
    // is lost, and detail lines are not kept.
    if (value.find('?') != std::string::npos)
        return;
    std::string resolved = page->pageUrl.Combine(value).URLText();
    if (resolved.size() < 5)
        TLog::Detail("#############新鏈結" + page->pageUrl.URLText() + "+" + value + "->" + resolved);
    // An escaped "?" or "#" is one once resolved, and such a page has no file.
    if (IsBlankText(resolved) || HasQueryOrFragment(resolved))
        return;
    // Quick mode takes text only: from a page that is no HTML, only the sheets it imports.
    if (page->textOnly && !IsHtmlType(page->contentType) && !namesStyleSheet)
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
