#include <gtest/gtest.h>

#include "grab/headertable.h"
#include "grab/httpdate.h"
#include "grab/wirepath.h"

namespace {

auto never = [] { return false; };

TEST(HeaderTable, LinesSetNamesFromTheSecondCharacterAfterTheColon)
{
    THeaderTable table;
    table.Take("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nX-Tight:value\r\nX-Spaces:   padded  \r\n\r\n", never);
    EXPECT_EQ(table.Value("content-type"), "text/html");
    EXPECT_EQ(table.Value("X-Tight"), "alue");  // the character after the colon is skipped, whatever it is
    EXPECT_EQ(table.Value("x-spaces"), "  padded  ");
    EXPECT_EQ(table.Value("HTTP/1.0 200 OK"), "");
}

TEST(HeaderTable, ValuesLastFromPageToPageAndEmptyOnesRemove)
{
    THeaderTable table;
    table.Take("HTTP/1.0 200 OK\nContent-Type: text/html\nLast-Modified: a\n\n", never);
    table.Set("Content-Length", "0");
    table.Take("HTTP/1.0 200 OK\nLast-Modified: b\nLast-Modified: c\n\n", never);
    EXPECT_EQ(table.Value("Content-Type"), "text/html");  // kept from the earlier page
    EXPECT_EQ(table.Value("Last-Modified"), "c");          // a later line replaces an earlier one
    EXPECT_EQ(table.Value("Content-Length"), "0");
    table.Take("HTTP/1.0 200 OK\r\nContent-Type:\r\n\r\n", never);
    EXPECT_EQ(table.Value("Content-Type"), "");
}

TEST(HeaderTable, StatusCodesAndHeaderEnds)
{
    EXPECT_EQ(StatusCodeOf("HTTP/1.0 301 Moved"), "301");
    EXPECT_EQ(StatusCodeOf("HTTP/1.0 20"), "");
    EXPECT_TRUE(HasHeaderEnd("HTTP/1.0 200 OK\r\n\r\n"));
    EXPECT_TRUE(HasHeaderEnd("HTTP/1.0 200 OK\n\n"));
    EXPECT_FALSE(HasHeaderEnd("HTTP/1.0 200 OK\r\nA: b\r\n"));
    EXPECT_EQ(BodyOffset("HTTP/1.0 200 OK\r\nA: b\r\n\r\nbody"), 25u);
    EXPECT_EQ(BodyOffset("HTTP/1.0 200 OK\n\nbody\r\n\r\n"), 17u);
    EXPECT_EQ(BodyOffset("no end"), std::string::npos);
}

TEST(HttpDate, Rfc1123DatesAreFormattedInUtc)
{
    EXPECT_EQ(Rfc1123Date(784111777), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(Rfc1123Date(0), "Thu, 01 Jan 1970 00:00:00 GMT");
}

TEST(HttpDate, TheServerIsNewerUnlessItsDateIsEarlier)
{
    const std::string stored = "Sun, 06 Nov 1994 08:49:37 GMT";
    EXPECT_TRUE(ServerIsNewer(stored, stored));  // equal counts as newer
    EXPECT_FALSE(ServerIsNewer(stored, "Sat, 05 Nov 1994 08:49:37 GMT"));
    EXPECT_TRUE(ServerIsNewer(stored, "Mon, 07 Nov 1994 08:49:37 GMT"));
    EXPECT_FALSE(ServerIsNewer(stored, "Sun, 06 Nov 1994 08:49:36 GMT"));
    EXPECT_FALSE(ServerIsNewer(stored, "Sun, 06 Oct 1994 08:49:37 GMT"));
    EXPECT_TRUE(ServerIsNewer(stored, "Sun, 06 Nov 1995 00:00:00 GMT"));
    EXPECT_TRUE(ServerIsNewer(stored, ""));
    EXPECT_TRUE(ServerIsNewer(stored, "Sunday, 06-Nov-94 08:49:37 GMT"));  // another form
    // A month name outside the table counts as January.
    EXPECT_FALSE(ServerIsNewer("Sun, 06 Feb 1994 08:49:37 GMT", "Sun, 06 Xyz 1994 08:49:37 GMT"));
}

TEST(WirePath, DecodedCharactersAreEscapedAgainForTheRequestLine)
{
    EXPECT_EQ(WirePath("/a b.htm"), "/a%20b.htm");
    EXPECT_EQ(WirePath("/100%/x"), "/100%25/x");
    EXPECT_EQ(WirePath("/\xE4\xB8\xAD.htm"), "/%E4%B8%AD.htm");
    EXPECT_EQ(WirePath("/plain/path-1_2.~x"), "/plain/path-1_2.~x");
    EXPECT_EQ(WirePath("/a\r\nHost: evil"), "/a%0D%0AHost:%20evil");
}

}  // namespace
