#include <memory>

#include <gtest/gtest.h>

#include "net/dns.h"
#include "server/pagerequest.h"
#include "support/tempfolder.h"

TEST(RequestLine, TheFirstLineEndsAtTheFirstCrLf)
{
    EXPECT_EQ(FirstLine("GET http://a.b/ HTTP/1.0\r\nHost: a.b\r\n\r\n"), "GET http://a.b/ HTTP/1.0");
    EXPECT_EQ(FirstLine("GET http://a.b/ HTTP/1.0\nHost: a.b\n\n"), "");
    EXPECT_EQ(FirstLine("GET http://a.b/ HTTP/1.0"), "");
    EXPECT_EQ(FirstLine("\r\nGET x y\r\n"), "");
}

TEST(RequestLine, TheTargetFollowsGetUpToTheNextBlank)
{
    EXPECT_EQ(RequestTarget("GET http://a.b/x.htm HTTP/1.1"), "http://a.b/x.htm");
    // Only the first "GET " counts, wherever it is.
    EXPECT_EQ(RequestTarget("XGET http://a.b/ GET other HTTP/1.0"), "http://a.b/");
    // Without "GET " the target starts at the fourth character.
    EXPECT_EQ(RequestTarget("POST http://a.b/form HTTP/1.0"), "T");
    EXPECT_EQ(RequestTarget("HEAD http://a.b/ HTTP/1.0"), "D");
    // No blank after the target: nothing.
    EXPECT_EQ(RequestTarget("GET http://a.b/"), "");
    EXPECT_EQ(RequestTarget("GET "), "");
    EXPECT_EQ(RequestTarget("PUT"), "");
    EXPECT_EQ(RequestTarget(""), "");
}

class PageRequestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.Write("dns.ini", "[www]\nsite.test=10.1.2.3\nother.test=10.1.2.3\n");
        cache = std::make_unique<TDNS>();
        SetHostCache(cache.get());
    }
    void TearDown() override { SetHostCache(nullptr); }

    TempFolder folder;
    std::unique_ptr<TDNS> cache;
};

TEST_F(PageRequestTest, AStoredPageIsFiledUnderTheAddressOfItsHost)
{
    TPageRequest page = PageRequestOf("http://SITE.test/dir/a%20b.htm");
    EXPECT_EQ(page.RelativePath, "wwwData/10.1.2.3/dir/a b.htm");
    EXPECT_EQ(page.PageURL, "http://site.test/dir/a b.htm");
    // Two names of one server share its folder; the port plays no part.
    EXPECT_EQ(PageRequestOf("http://other.test:8080/").RelativePath, "wwwData/10.1.2.3/default.htm");
}

TEST_F(PageRequestTest, AnHttpsAddressNamesTheFileOfItsHttpTwin)
{
    TPageRequest page = PageRequestOf("https://site.test/dir/a%20b.htm");
    EXPECT_EQ(page.RelativePath, "wwwData/10.1.2.3/dir/a b.htm");
    EXPECT_EQ(page.PageURL, "https://site.test/dir/a b.htm");
    EXPECT_EQ(PageRequestOf("https://other.test:443/").RelativePath, "wwwData/10.1.2.3/default.htm");
}

TEST_F(PageRequestTest, APageThatCannotBeStoredKeepsTheTargetAsReceived)
{
    for (const char* target : {"http://site.test/q?x=%41", "http://site.test/%2e%2e/%2e%2e/vorlan.ini",
                               "http://site.test/a/%2E/b.htm", "T", ""}) {
        TPageRequest page = PageRequestOf(target);
        EXPECT_EQ(page.RelativePath, "") << target;
        EXPECT_EQ(page.PageURL, target);
    }
}

TEST_F(PageRequestTest, AHostMissingFromTheCacheNamesNoFile)
{
    TPageRequest page = PageRequestOf("http://unknown.test/%7Euser/page.htm");
    EXPECT_EQ(page.RelativePath, "");
    EXPECT_EQ(page.PageURL, "http://unknown.test/~user/page.htm");
}
