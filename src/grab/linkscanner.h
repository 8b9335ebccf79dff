#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "grab/turl.h"

class TParser;

// A link found on a page, with the level it is queued at.
struct TQueuedLink {
    std::string url;
    int level = 0;
};

// Takes the links of a page in the order found, a batch at a time.
using TLinkSink = std::function<void(const std::vector<TQueuedLink>&)>;

// Puts links in the crawl lists' pending list, from any thread.
void QueueLinks(const std::vector<TQueuedLink>& links);

// One stored page to scan.
struct TScanRequest {
    std::string pageFile;
    Turl pageUrl;              // links resolve against it; no base element is honoured
    int level = 0;             // of the page; its hyperlinks are queued one lower
    bool textOnly = false;     // quick mode
    std::string contentType;   // "Content-Type" of the page's header
    std::function<bool()> stopped;  // true when the site or the thread is to stop
};

// The link scanner of one grab thread. It knows no elements, only the delimiters, a few
// attribute words and whether it stands inside a tag; that last state carries over from
// page to page of the thread. Links are handed to the sink in the order found, in batches
// of BatchSize.
class TLinkScanner {
public:
    static constexpr size_t BatchSize = 64;

    // Hands the links to the crawl lists (QueueLinks).
    TLinkScanner();
    explicit TLinkScanner(TLinkSink sink);

    // Whether pages of this Content-Type are scanned: HTML pages and style sheets. The
    // media type before any ";" parameters counts, without regard to case.
    static bool IsScanned(const std::string& contentType);

    // Scans the page file and queues its links: an HTML page by its tokens, a page whose
    // Content-Type is "text/css" as a style sheet. Raises EParseHeader("打不開檔案") when
    // the file cannot be read. The links found are handed over also when the scan stops
    // or fails.
    void ScanPage(const TScanRequest& request);

    int InTag() const { return inTag; }

private:
    // What an attribute value holds.
    enum class ValueForm {
        Address,      // one address: href, src, background, poster, data-src, redirect
        AddressList,  // srcset, data-srcset
        StyleText,    // a style attribute
    };

    void ScanTokens();
    void Arm(ValueForm form);
    void CloseTag();
    void ScanStyleBlock();
    void ScanStyleSheet(std::string_view sheet);
    void QueueValue();
    std::string ReadLinkValue();
    void ReadValueTokens(std::string& value);
    bool SkipBlanks(std::string_view& token);
    void OpenQuote(std::string_view token, char& quote);
    bool AppendTokens(std::string_view& token, std::string& value);
    void QueueLink(std::string value, bool namesStyleSheet = false);
    void Flush();
    void FlushAfterFailure();
    bool Stopped() const;

    TLinkSink sink;
    int inTag = 0;  // 1 after "<", one lower for every ">"; below 0 after a stray ">"

    // For the page being scanned.
    const TScanRequest* page = nullptr;
    TParser* parser = nullptr;
    bool armed = false;          // the next "=" introduces a link value
    ValueForm form = ValueForm::Address;  // of that value
    bool hyperlinkSeen = false;  // the value came from "href" or "redirect"
    bool styleBlock = false;     // inside a <style> tag: its sheet follows the ">"
    std::vector<TQueuedLink> batch;
};
