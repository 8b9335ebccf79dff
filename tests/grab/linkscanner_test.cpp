#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/urldatabase.h"
#include "grab/graberrors.h"
#include "grab/linkscanner.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"

void PrintTo(const TQueuedLink& link, std::ostream* out)
{
    *out << link.url << "=" << link.level;
}

bool operator==(const TQueuedLink& a, const TQueuedLink& b)
{
    return a.url == b.url && a.level == b.level;
}

namespace {

using Links = std::vector<TQueuedLink>;

class LinkScanner : public ::testing::Test {
protected:
    LinkScanner() : scanner([this](const Links& batch) { Receive(batch); }) {}

    Links Scan(const std::string& html, int level = 2, bool textOnly = false,
               const std::string& contentType = "text/html")
    {
        folder.Write("page.htm", html);
        TScanRequest request;
        request.pageFile = folder / "page.htm";
        request.pageUrl = Turl(pageUrl);
        request.level = level;
        request.textOnly = textOnly;
        request.contentType = contentType;
        request.stopped = stopped;
        received.clear();
        scanner.ScanPage(request);
        return received;
    }

    void Receive(const Links& batch)
    {
        EXPECT_FALSE(batch.empty());
        EXPECT_LE(batch.size(), TLinkScanner::BatchSize);
        batchSizes.push_back(batch.size());
        received.insert(received.end(), batch.begin(), batch.end());
    }

    TempFolder folder;
    ScriptedUi ui;
    TLinkScanner scanner;
    std::function<bool()> stopped = [] { return false; };
    std::string pageUrl = "http://h.com/dir/page.htm";
    Links received;
    std::vector<size_t> batchSizes;
};

std::string Pictures(int count)
{
    std::string html;
    for (int i = 0; i < count; ++i)
        html += "<img src=p" + std::to_string(i) + ".gif>";
    return html;
}

TEST_F(LinkScanner, QueuesHyperlinksOneLevelLowerAndResourcesAtThePageLevel)
{
    EXPECT_EQ(Scan("<html><a href=\"a.htm\">A</a><img src=\"p.gif\"><td background=bg.gif>"
                   "<frame src=\"/top.htm\"><a href=\"http://other.com/x.htm\">"),
              (Links{{"http://h.com/dir/a.htm", 1}, {"http://h.com/dir/p.gif", 2}, {"http://h.com/dir/bg.gif", 2},
                     {"http://h.com/top.htm", 2}, {"http://other.com/x.htm", 1}}));
}

TEST_F(LinkScanner, KnowsTheWordsInCapitalsAndWithOrWithoutBlanksAroundTheEqualsSign)
{
    EXPECT_EQ(Scan("<IMG SRC=a.gif><A HREF = \"b.htm\"><Td BackGround=  c.gif><img src =d.gif>"),
              (Links{{"http://h.com/dir/a.gif", 2}, {"http://h.com/dir/b.htm", 1}, {"http://h.com/dir/c.gif", 2},
                     {"http://h.com/dir/d.gif", 2}}));
}

TEST_F(LinkScanner, ASrcWithoutValueTakesTheNextAttributeValue)
{
    EXPECT_EQ(Scan("<img src alt=\"photo.jpg\" width=5>"), (Links{{"http://h.com/dir/photo.jpg", 2}}));
    EXPECT_EQ(Scan("<img src alt=\"my photo\">"), (Links{{"http://h.com/dir/my photo", 2}}));
}

TEST_F(LinkScanner, AnUnquotedValueEndsAtABlankOrTheEndOfTheTagAQuotedOneAtItsQuote)
{
    EXPECT_EQ(Scan("<img src=a.gif width=3><img src=b.gif><img src=\"my file.gif\"><img src=\"c.gif\"d.gif>"
                   "<img src=\"e>f.gif\"><img src=g.gif\"h.gif>"),
              (Links{{"http://h.com/dir/a.gif", 2}, {"http://h.com/dir/b.gif", 2}, {"http://h.com/dir/my file.gif", 2},
                     {"http://h.com/dir/c.gif", 2}, {"http://h.com/dir/e>f.gif", 2}, {"http://h.com/dir/g.gif", 2}}));
    EXPECT_EQ(scanner.InTag(), 0);
}

TEST_F(LinkScanner, LineBreaksInsideAValueAreDroppedWhileOtherDelimitersStay)
{
    EXPECT_EQ(Scan("<a href=\"long\r\nname.htm\"><img src=a<b.gif>"),
              (Links{{"http://h.com/dir/longname.htm", 1}, {"http://h.com/dir/a<b.gif", 2}}));
}

TEST_F(LinkScanner, QueriesOtherSchemesAndEmptyValuesAreDropped)
{
    EXPECT_EQ(Scan("<a href=\"q.cgi?a=1\"><a href=q.cgi?a=1><a href=\"find?\"><a href=\"find.htm?x#top\">"
                   "<a href=\"mailto:me@h.com\"><a href=\"FTP://f.com/x\"><a href=\"file:/etc/passwd\">"
                   "<a href=\"Gopher://g.com/\"><img src=\"\"><img src=   ><img src=\"  \">"
                   // An escaped "?" or "#" is one once the link is resolved.
                   "<a href=\"a%3Fb.htm\"><a href=\"c%23d.htm\">"),
              Links{});
}

TEST_F(LinkScanner, ADroppedHyperlinkLeavesTheNextPictureOneLevelLower)
{
    EXPECT_EQ(Scan("<a href=\"q.cgi?a=1\"><img src=p.gif><img src=q.gif>"),
              (Links{{"http://h.com/dir/p.gif", 1}, {"http://h.com/dir/q.gif", 2}}));
}

TEST_F(LinkScanner, APageAtLevelZeroQueuesItsPicturesButNotItsHyperlinks)
{
    EXPECT_EQ(Scan("<img src=first.gif><a href=\"a.htm\"><img src=\"p.gif\"><img src=q.gif>", 0),
              (Links{{"http://h.com/dir/first.gif", 0}, {"http://h.com/dir/p.gif", -1},
                     {"http://h.com/dir/q.gif", 0}}));
}

TEST_F(LinkScanner, ABaseElementIsALinkAndChangesNoResolution)
{
    EXPECT_EQ(Scan("<base href=\"http://other.com/base/\"><img src=\"p.gif\">"),
              (Links{{"http://other.com/base/", 1}, {"http://h.com/dir/p.gif", 2}}));
}

TEST_F(LinkScanner, APageEndingInAValueUsesThePartialValue)
{
    EXPECT_EQ(Scan("<img src=http://h.com/pa"), (Links{{"http://h.com/pa", 2}}));
    EXPECT_EQ(Scan("<img src=\"a.gif\"><img sr"), (Links{{"http://h.com/dir/a.gif", 2}}));
    EXPECT_EQ(Scan("<img src="), Links{});
    EXPECT_EQ(Scan("<img src"), Links{});
}

TEST_F(LinkScanner, RedirectReadsTheFollowingValueAtOnceOneLevelLower)
{
    EXPECT_EQ(Scan("<meta content=\"redirect next.htm\">", 0), (Links{{"http://h.com/dir/next.htm", -1}}));
    EXPECT_EQ(Scan("<x REDIRECT=\"a.htm\">", 3), Links{});
    EXPECT_EQ(Scan("<x redirect \"b.htm\">", 3), (Links{{"http://h.com/dir/b.htm", 2}}));
    // Outside a tag too: the word alone is enough.
    EXPECT_EQ(Scan("<p>Redirect c.htm now", 3), (Links{{"http://h.com/dir/c.htm", 2}}));
}

TEST_F(LinkScanner, InTagGoesBelowZeroOnStrayClosingsAndCarriesOverToTheNextPage)
{
    EXPECT_EQ(Scan("<b>> src=x.gif"), Links{});
    EXPECT_EQ(scanner.InTag(), -1);
    EXPECT_EQ(Scan("a > b > c"), Links{});
    EXPECT_EQ(scanner.InTag(), -3);
    EXPECT_EQ(Scan("<a title=x.htm"), Links{});
    EXPECT_EQ(scanner.InTag(), 1);
    // The previous page ended inside a tag: this one starts inside it.
    EXPECT_EQ(Scan("src=y.gif"), (Links{{"http://h.com/dir/y.gif", 2}}));
}

TEST_F(LinkScanner, Big5BytesPassThroughToTheLink)
{
    std::string name = "\xa4\xa4\xa4\xe5\xb3\x5c.htm";
    EXPECT_EQ(Scan("<p>\xba\xf4\xad\xb6<a href=\"" + name + "\">"), (Links{{"http://h.com/dir/" + name, 1}}));
}

TEST_F(LinkScanner, QuickModeDropsTheLinksOfPagesThatAreNotHtml)
{
    EXPECT_EQ(Scan("<img src=a.gif>", 2, true, "text/plain"), Links{});
    EXPECT_EQ(Scan("<img src=a.gif>", 2, true, "TEXT/HTM"), (Links{{"http://h.com/dir/a.gif", 2}}));
    EXPECT_EQ(Scan("<img src=a.gif>", 2, false, "text/plain"), (Links{{"http://h.com/dir/a.gif", 2}}));
}

// Every form of today's pages at once, each resolved against the page and queued in
// the order written: the hyperlinks one level lower, everything else at the page's level
// (but for the picture right after the dropped "javascript:" hyperlink).
TEST_F(LinkScanner, FindsEveryLinkFormOfTodaysPages)
{
    std::string html =
        "<html><head><link rel='stylesheet' href='css/site.css'>\r\n"
        "<style type=\"text/css\">\r\n@import \"css/print.css\" print;\r\n"
        "body { background: url( img/body.png ) }\r\n</style></head>\r\n"
        "<body background='img/old.gif'>\r\n"
        "<a href='page2.html'>2</a> <a href=\"page3.html#part\">3</a> <a href=\"#top\">top</a>\r\n"
        "<a href=\"http://other.com/x.html#y\">x</a> <a href=\"javascript:void(0)\">js</a>\r\n"
        "<img src=\"img/a.jpg\" srcset=\"img/a-1x.jpg 1x, img/a-2x.jpg 2x\" alt=\"\">\r\n"
        "<picture><source srcset='img/wide.webp 1200w, img/narrow.webp 600w' media=\"(min-width: 600px)\">"
        "<img src=\"data:image/gif;base64,R0lGODlh\" data-src=\"img/lazy.jpg\" data-srcset=\"img/lazy-2x.jpg 2x\">"
        "</picture>\r\n"
        "<video poster=\"img/poster.jpg\" src='media/clip.mp4'></video>\r\n"
        "<div style=\"background-image: url('img/hero.jpg'); color: red\">hero</div>\r\n"
        "<table><tr><td background=\"img/cell.gif\">cell</td></tr></table>\r\n"
        "</body></html>\r\n";
    const std::string at = "http://h.com/dir/";
    EXPECT_EQ(Scan(html),
              (Links{{at + "css/site.css", 1}, {at + "css/print.css", 2}, {at + "img/body.png", 2},
                     {at + "img/old.gif", 2}, {at + "page2.html", 1}, {at + "page3.html", 1},
                     {"http://other.com/x.html", 1}, {at + "img/a.jpg", 1}, {at + "img/a-1x.jpg", 2},
                     {at + "img/a-2x.jpg", 2}, {at + "img/wide.webp", 2}, {at + "img/narrow.webp", 2},
                     {at + "img/lazy.jpg", 2}, {at + "img/lazy-2x.jpg", 2}, {at + "img/poster.jpg", 2},
                     {at + "media/clip.mp4", 2}, {at + "img/hero.jpg", 2}, {at + "img/cell.gif", 2}}));
    EXPECT_EQ(scanner.InTag(), 0);
}

TEST_F(LinkScanner, ASingleQuotedValueEndsAtItsQuoteLikeADoubleQuotedOne)
{
    EXPECT_EQ(Scan("<a href='a b.htm'><a href = 'c.htm' title='x'><img src='d.gif'alt=e.gif><a href=\"it's.htm\">"
                   "<a href='say \"hi\".htm'><a href=f'g.htm>"),
              (Links{{"http://h.com/dir/a b.htm", 1}, {"http://h.com/dir/c.htm", 1}, {"http://h.com/dir/d.gif", 2},
                     {"http://h.com/dir/it's.htm", 1}, {"http://h.com/dir/say  hi .htm", 1},
                     {"http://h.com/dir/f'g.htm", 1}}));
    EXPECT_EQ(scanner.InTag(), 0);
    // A value whose quote is never closed runs to the end of the page.
    EXPECT_EQ(Scan("<img src='h.gif> <p>text"), (Links{{"http://h.com/dir/h.gif> <p>text", 2}}));
    EXPECT_EQ(Scan("<img src='"), Links{});
}

TEST_F(LinkScanner, AFragmentIsCutOffAndAFragmentAloneIsDropped)
{
    EXPECT_EQ(Scan("<a href=\"x.htm#top\"><a href=\"http://other.com/y.htm#s\"><a href=\"#top\"><a href=' #top'>"
                   "<a href=\"z.htm#a=b\"><img src=\"p.svg#icon\"><a href=\"q.htm?a#b\">"),
              (Links{{"http://h.com/dir/x.htm", 1}, {"http://other.com/y.htm", 1}, {"http://h.com/dir/z.htm", 1},
                     {"http://h.com/dir/p.svg", 2}}));
}

TEST_F(LinkScanner, JavascriptAndDataValuesAreNeverQueued)
{
    EXPECT_EQ(Scan("<a href=\"javascript:void(0)\"><a href='JavaScript:go(\"a.htm\")'><a href=javascript:x.htm>"
                   "<img src=\"data:image/gif;base64,R0lGODlh\"><img src=DATA:image/png,x.png>"
                   "<img srcset=\"data:image/png,a.png 1x\"><div style=\"background:url(data:image/png,b.png)\">"),
              Links{});
}

TEST_F(LinkScanner, SrcsetValuesGiveEveryAddressAtThePageLevel)
{
    EXPECT_EQ(Scan("<img srcset=\"a.jpg 1x, img,w_200.jpg 2x,b.jpg,, c.jpg 480w\"><img SRCSET=d.jpg>"
                   "<img data-srcset='e.jpg 1x,f.jpg 2x'>", 0),
              (Links{{"http://h.com/dir/a.jpg", 0}, {"http://h.com/dir/img,w_200.jpg", 0},
                     {"http://h.com/dir/b.jpg", 0}, {"http://h.com/dir/c.jpg", 0}, {"http://h.com/dir/d.jpg", 0},
                     {"http://h.com/dir/e.jpg", 0}, {"http://h.com/dir/f.jpg", 0}}));
}

TEST_F(LinkScanner, StyleAttributesAndStyleBlocksGiveTheirUrlsAndImports)
{
    EXPECT_EQ(Scan("<div STYLE=\"background: url( 'a b.png' ) no-repeat; border-image: url(c.png)\">"
                   "<p style='background:url(\"d.png\")'><p style=background:url(e.png)>"),
              (Links{{"http://h.com/dir/a b.png", 2}, {"http://h.com/dir/c.png", 2}, {"http://h.com/dir/d.png", 2},
                     {"http://h.com/dir/e.png", 2}}));
    // The words of a block are no attributes, and the block ends at its closing tag.
    EXPECT_EQ(Scan("<STYLE media=screen>@import url(s.css); /* <img src=no.gif> */ a[src=x] { "
                   "background: url(/f.png) }</Style><img src=after.gif><p>style=no2.gif"),
              (Links{{"http://h.com/dir/s.css", 2}, {"http://h.com/f.png", 2}, {"http://h.com/dir/after.gif", 2}}));
    EXPECT_EQ(scanner.InTag(), 0);
    EXPECT_EQ(Scan("<style>a { background: url(open.png) }"), (Links{{"http://h.com/dir/open.png", 2}}));
}

TEST_F(LinkScanner, AStyleSheetPageIsScannedAsASheetAgainstItsOwnAddress)
{
    pageUrl = "http://h.com/css/site.css";
    EXPECT_EQ(Scan("@import \"print.css\";\n@import url('../theme/dark.css');\n"
                   "body { background: url(../img/bg.png) } /* url(no.png) */\n"
                   "<img src=no2.gif> .a { background: url(\"http://cdn.com/x.png#frag\") }",
                   2, false, "TEXT/CSS"),
              (Links{{"http://h.com/css/print.css", 2}, {"http://h.com/theme/dark.css", 2},
                     {"http://h.com/img/bg.png", 2}, {"http://cdn.com/x.png", 2}}));
}

TEST_F(LinkScanner, QuickModeTakesOnlyTheImportsOfAStyleSheet)
{
    pageUrl = "http://h.com/css/site.css";
    EXPECT_EQ(Scan("@import 'a.css'; body { background: url(bg.png) }", 2, true, "text/css"),
              (Links{{"http://h.com/css/a.css", 2}}));
    pageUrl = "http://h.com/page.htm";
    EXPECT_EQ(Scan("<style>@import 'b.css'; body { background: url(bg.png) }</style>", 2, true, "text/html"),
              (Links{{"http://h.com/b.css", 2}, {"http://h.com/bg.png", 2}}));
}

TEST(LinkScannerTypes, ScansHtmlPagesAndStyleSheetsByTheirMediaTypeBeforeAnyParameter)
{
    for (const char* type : {"text/html", "TEXT/HTM", "text/css", "Text/CSS", "text/html; charset=utf-8",
                             "Text/HTML;charset=big5", "text/htm ; charset=utf-8", " text/css; charset=utf-8"})
        EXPECT_TRUE(TLinkScanner::IsScanned(type)) << type;
    for (const char* type : {"text/plain", "text/plain; charset=text/html", "text/html-sandboxed", "text/csv",
                             "image/png", "", ";text/html"})
        EXPECT_FALSE(TLinkScanner::IsScanned(type)) << type;
}

TEST_F(LinkScanner, AStyleSheetWithACharacterSetIsScannedAsASheet)
{
    pageUrl = "http://h.com/css/site.css";
    EXPECT_EQ(Scan("body { background: url(bg.png) }", 1, false, "text/css; charset=utf-8"),
              (Links{{"http://h.com/css/bg.png", 1}}));
}

TEST_F(LinkScanner, QuickModeTakesTheLinksOfAnHtmlPageWithACharacterSet)
{
    EXPECT_EQ(Scan("<a href=\"a.htm\">a</a><img src=\"p.gif\">", 1, true, "text/html; charset=UTF-8"),
              (Links{{"http://h.com/dir/a.htm", 0}, {"http://h.com/dir/p.gif", 1}}));
}

TEST_F(LinkScanner, AFileThatCannotBeReadIsRefused)
{
    for (const std::string& path : {folder / "missing.htm", folder.Path()}) {
        TScanRequest request;
        request.pageFile = path;
        request.pageUrl = Turl("http://h.com/");
        try {
            scanner.ScanPage(request);
            ADD_FAILURE() << "no error for " << path;
        } catch (const EParseHeader& error) {
            EXPECT_STREQ(error.what(), "打不開檔案");
        }
    }
    EXPECT_EQ(Scan(""), Links{});
    EXPECT_TRUE(batchSizes.empty());
}

TEST_F(LinkScanner, LinksAreHandedOverInBatchesInTheOrderFound)
{
    Links links = Scan(Pictures(150));
    ASSERT_EQ(links.size(), 150u);
    for (int i = 0; i < 150; ++i)
        EXPECT_EQ(links[static_cast<size_t>(i)].url, "http://h.com/dir/p" + std::to_string(i) + ".gif");
    EXPECT_EQ(batchSizes, (std::vector<size_t>{64, 64, 22}));
}

TEST_F(LinkScanner, AStopEndsTheScanAtOnceAndHandsOverWhatWasFound)
{
    stopped = [this] { return received.size() >= TLinkScanner::BatchSize; };
    EXPECT_EQ(Scan(Pictures(1000)).size(), TLinkScanner::BatchSize);

    int tests = 0;
    stopped = [&tests] { return ++tests > 200; };
    Links partial = Scan(Pictures(1000));
    ASSERT_GT(partial.size(), 0u);
    ASSERT_LT(partial.size(), TLinkScanner::BatchSize);
    for (size_t i = 0; i < partial.size(); ++i)
        EXPECT_EQ(partial[i].url, "http://h.com/dir/p" + std::to_string(i) + ".gif");
}

// The stop test is the one call inside a value that can fail; "< img src= " asks it for
// the sixth time while skipping the blank after "=".
std::function<bool()> FailAtSixthCall(int& calls, std::function<void()> fail)
{
    return [&calls, fail] {
        if (++calls == 6)
            fail();
        return false;
    };
}

TEST_F(LinkScanner, AnUnexpectedErrorInAValueIsShownAndTheScanGoesOn)
{
    int calls = 0;
    stopped = FailAtSixthCall(calls, [] { throw std::runtime_error("boom"); });
    EXPECT_EQ(Scan("<img src= \"a.gif\"><img src=b.gif>"), (Links{{"http://h.com/dir/b.gif", 2}}));
    EXPECT_EQ(ui.Shown("error"), (std::vector<std::string>{"錯誤代碼:1107-2boom"}));
}

TEST_F(LinkScanner, TheGrabbersOwnErrorsPassThroughAfterTheLinksFoundAreHandedOver)
{
    int calls = 0;
    stopped = FailAtSixthCall(calls, [] { throw EGrabToLong("單站抓取時間過長,換下一個站台"); });
    received.clear();
    folder.Write("page.htm", "<img src= \"a.gif\">");
    TScanRequest request;
    request.pageFile = folder / "page.htm";
    request.pageUrl = Turl("http://h.com/dir/page.htm");
    request.stopped = stopped;
    EXPECT_THROW(scanner.ScanPage(request), EGrabToLong);
    EXPECT_TRUE(ui.Shown("error").empty());

    calls = -6;  // the first picture takes six tests: it fails in the second value
    folder.Write("page.htm", "<img src=first.gif><img src= \"a.gif\">");
    EXPECT_THROW(scanner.ScanPage(request), EGrabToLong);
    EXPECT_EQ(received, (Links{{"http://h.com/dir/first.gif", 0}}));
}

TEST_F(LinkScanner, ABigPageFullOfTagsIsScannedQuickly)
{
    std::string html = "<html><body><table>\r\n";
    size_t expected = 0;
    for (int i = 0; html.size() < 5 * 1024 * 1024; ++i, expected += 3) {
        std::string n = std::to_string(i);
        html += "<tr class=\"r\"><td width=120 background=\"bg/t" + std::to_string(i % 7) + ".gif\"><a href=\"p" + n +
                ".htm\" target=_top>Page " + n + "</a> <a href=\"q.cgi?id=" + n + "\">q</a></td><td><img src=\"i" + n +
                ".jpg\" alt=\"picture " + n + "\" border=0><font size=2>text of item " + n + "</font></td></tr>\r\n";
    }
    auto start = std::chrono::steady_clock::now();
    Links links = Scan(html);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(links.size(), expected);
    EXPECT_LT(seconds, 3.0);
    EXPECT_EQ(links[1], (TQueuedLink{"http://h.com/dir/p0.htm", 1}));
    // The picture after the dropped query link keeps the hyperlink's level.
    EXPECT_EQ(links[2], (TQueuedLink{"http://h.com/dir/i0.jpg", 1}));
}

TEST(LinkScannerCrawlLists, ScanningAPageTwiceQueuesNothingNew)
{
    TempFolder folder;
    folder.Write("page.htm", "<a href=a.htm><img src=p.gif><a href=\"b.htm\">");
    TScanRequest request;
    request.pageFile = folder / "page.htm";
    request.pageUrl = Turl("http://h.com/");
    request.level = 2;
    UrlDatabase().ClearAll();
    TLinkScanner scanner;
    scanner.ScanPage(request);
    EXPECT_EQ(UrlDatabase().PendingCount(), 3u);
    EXPECT_EQ(UrlDatabase().TakeFirst(), "http://h.com/a.htm=1");
    scanner.ScanPage(request);
    EXPECT_EQ(UrlDatabase().PendingCount(), 2u);
    EXPECT_EQ(UrlDatabase().KnownCount(), 3u);
    EXPECT_EQ(UrlDatabase().TakeFirst(), "http://h.com/p.gif=2");
    UrlDatabase().ClearAll();
}

}  // namespace
