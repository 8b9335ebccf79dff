#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grab/srcset.h"
#include "grab/stylesheet.h"

namespace {

using Strings = std::vector<std::string>;

// The addresses of a sheet, each written "@" + address for an import.
Strings Links(std::string_view sheet)
{
    TStyleSheet links(sheet);
    TStyleLink link;
    Strings found;
    while (links.NextLink(link))
        found.push_back((link.import ? "@" : "") + std::string(link.address));
    return found;
}

Strings SrcsetUrls(std::string_view value)
{
    TSrcset list(value);
    std::string_view url;
    Strings found;
    while (list.NextUrl(url))
        found.emplace_back(url);
    return found;
}

TEST(StyleSheet, UrlWithAndWithoutQuotesAndWithBlanks)
{
    EXPECT_EQ(Links("a{background:url(a.png)} b{background:URL( \"b c.png\" ) no-repeat}"
                    "c{background:url(  'd.png'\t)} d{background:url(\n e.png \n)} e{x:url()} f{x:url( '' )}"),
              (Strings{"a.png", "b c.png", "d.png", "e.png"}));
}

TEST(StyleSheet, ImportWithAndWithoutUrl)
{
    EXPECT_EQ(Links("@import \"a.css\";\n@import 'b.css' screen;\n@IMPORT url(c.css);\n"
                    "@import url( \"d.css\" ) print;@import\te.css;"),
              (Strings{"@a.css", "@b.css", "@c.css", "@d.css"}));
}

TEST(StyleSheet, CommentsStringsAndOtherFunctionsHoldNoAddresses)
{
    EXPECT_EQ(Links("/* url(no1.png) @import \"no2.css\"; */ a{content:\"url(no3.png) /*\"} "
                    "b{content:'it\\'s url(no4.png)'} c{background:myurl(no5.png) url(yes.png)}"
                    "@media print{d{background:url(print.png)}} @font-face{src:url(f.woff2) format(\"woff2\")}"),
              (Strings{"yes.png", "print.png", "f.woff2"}));
}

TEST(StyleSheet, ABrokenSheetEndsWithoutInventingAddresses)
{
    // A bare address with a blank or quote inside is none; an unclosed comment or string
    // hides the rest.
    EXPECT_EQ(Links("a{background:url(a b.png)} b{background:url(ok.png)} c{x:url(o\"k.png)}"), Strings{"ok.png"});
    EXPECT_EQ(Links("a{background:url(last.png"), Strings{"last.png"});
    EXPECT_EQ(Links("a{background:url(\"last.png"), Strings{"last.png"});
    EXPECT_EQ(Links("url(a.png) /* url(b.png)"), Strings{"a.png"});
    EXPECT_EQ(Links("@import"), Strings{});
    EXPECT_EQ(Links("@importx url(a.css)"), Strings{"a.css"});
    EXPECT_EQ(Links("url("), Strings{});
    EXPECT_EQ(Links(""), Strings{});
}

TEST(Srcset, GivesEveryAddressWithoutItsDescriptors)
{
    EXPECT_EQ(SrcsetUrls("a.jpg 1x, b.jpg 2x"), (Strings{"a.jpg", "b.jpg"}));
    EXPECT_EQ(SrcsetUrls("  small.jpg 480w,\n large.jpg   1080w  "), (Strings{"small.jpg", "large.jpg"}));
    EXPECT_EQ(SrcsetUrls("only.jpg"), Strings{"only.jpg"});
    EXPECT_EQ(SrcsetUrls(""), Strings{});
    EXPECT_EQ(SrcsetUrls(" , ,"), Strings{});
}

TEST(Srcset, ACommaInsideAnAddressBelongsToItUnlessItEndsIt)
{
    EXPECT_EQ(SrcsetUrls("img,w_100.jpg 1x, img,w_200.jpg 2x"), (Strings{"img,w_100.jpg", "img,w_200.jpg"}));
    EXPECT_EQ(SrcsetUrls("a.jpg,b.jpg"), Strings{"a.jpg,b.jpg"});
    EXPECT_EQ(SrcsetUrls("a.jpg,, b.jpg,,"), (Strings{"a.jpg", "b.jpg"}));
    // A comma inside a descriptor's parentheses does not end the candidate.
    EXPECT_EQ(SrcsetUrls("a.jpg f(1, 2) 1x, b.jpg"), (Strings{"a.jpg", "b.jpg"}));
}

}  // namespace
