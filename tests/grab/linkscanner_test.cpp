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
        request.pageUrl = Turl("http://h.com/dir/page.htm");
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
    EXPECT_EQ(Scan("<img src alt=\"my photo\">"), (Links{{"http://h.com/dir/my", 2}}));
}

TEST_F(LinkScanner, AValueEndsAtABlankAQuoteOrTheEndOfTheTag)
{
    EXPECT_EQ(Scan("<img src=a.gif width=3><img src=b.gif><img src=\"my file.gif\"><img src=\"c.gif\"d.gif>"),
              (Links{{"http://h.com/dir/a.gif", 2}, {"http://h.com/dir/b.gif", 2}, {"http://h.com/dir/my", 2},
                     {"http://h.com/dir/c.gif", 2}}));
    EXPECT_EQ(scanner.InTag(), 0);
}

TEST_F(LinkScanner, LineBreaksInsideAValueAreDroppedWhileOtherDelimitersStay)
{
    EXPECT_EQ(Scan("<a href=\"long\r\nname.htm\"><img src=a<b.gif>"),
              (Links{{"http://h.com/dir/longname.htm", 1}, {"http://h.com/dir/a<b.gif", 2}}));
}

TEST_F(LinkScanner, QueriesFragmentsOtherSchemesAndEmptyValuesAreDropped)
{
    EXPECT_EQ(Scan("<a href=\"q.cgi?a=1\"><a href=q.cgi?a=1><a href=\"find?\"><a href=\"x.htm#top\">"
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

    calls = -7;  // the first picture takes seven tests: it fails in the second value
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
