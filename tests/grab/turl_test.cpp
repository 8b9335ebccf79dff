#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "grab/turl.h"
#include "net/dns.h"
#include "support/tempfolder.h"

namespace {

struct LocalPathCase {
    const char* url;
    const char* localPath;
};

void PrintTo(const LocalPathCase& c, std::ostream* out)
{
    *out << c.url;
}

class LocalPathTable : public ::testing::TestWithParam<LocalPathCase> {};

TEST_P(LocalPathTable, MapsTheUrlToItsFileInTheSiteFolder)
{
    EXPECT_EQ(Turl(GetParam().url).LocalPath(), GetParam().localPath);
}

INSTANTIATE_TEST_SUITE_P(Pages, LocalPathTable, ::testing::Values(
    LocalPathCase{"http://h.com/", "default.htm"},
    LocalPathCase{"http://h.com", "default.htm"},
    LocalPathCase{"http://h.com/index.htm", "index.htm"},
    LocalPathCase{"http://h.com/dir/", "dir/default.htm"},
    LocalPathCase{"http://h.com/dir/sub/page.html", "dir/sub/page.html"},
    LocalPathCase{"http://h.com/a%20b.htm", "a b.htm"},
    LocalPathCase{"http://h.com/cgi/q?x=1", ""},
    LocalPathCase{"http://h.com/page.htm#top", ""},
    LocalPathCase{"http://h.com/a|b.htm", ""},
    LocalPathCase{"http://h.com/a/../../b/./c.htm", "b/c.htm"},
    // Empty segments would make the path absolute; the file system reads "a//b" as "a/b".
    LocalPathCase{"http://h.com//etc/passwd", "etc/passwd"},
    LocalPathCase{"http://h.com/a//b/", "a/b/default.htm"},
    // A path that does not begin with "/" is no page of a site.
    LocalPathCase{"abc/def", ""}));

// Escape tricks that must not reach a file outside the site folder.
INSTANTIATE_TEST_SUITE_P(EscapeAttacks, LocalPathTable, ::testing::Values(
    LocalPathCase{"http://h.com/%2e%2e/%2e%2e/etc/x", ""},
    LocalPathCase{"http://h.com/a/%2E%2E%2F%2E%2E%2Fetc/x", ""},
    LocalPathCase{"http://h.com/a/..%2f..%2fetc/x", ""},
    LocalPathCase{"http://h.com/a/%2e%2E/x", ""},
    LocalPathCase{"http://h.com/a/.%2e/x", ""},
    LocalPathCase{"http://h.com/a/%2e/x", ""},
    LocalPathCase{"http://h.com/a/%2e%2e", ""},
    LocalPathCase{"http://h.com/page.htm%00.jpg", ""},
    // Decoded once: "%2e" is left as three plain characters of a name.
    LocalPathCase{"http://h.com/%252e%252e/x", "%2e%2e/x"},
    // A backslash is no separator here, so this is one name in the site folder.
    LocalPathCase{"http://h.com/..%5c..%5cetc", "..\\..\\etc"}));

TEST(Turl, ViewsOfACanonicalUrl)
{
    Turl url("HTTP://WWW.Example.COM:8080/Dir/Page.htm?q#f");
    EXPECT_EQ(url.URLText(), "http://www.example.com:8080/Dir/Page.htm?q#f");
    EXPECT_EQ(url.PathPart(), "/Dir/Page.htm?q#f");
    EXPECT_EQ(url.HostAndPort(), "www.example.com:8080");
    EXPECT_EQ(url.HostName(), "www.example.com");
    EXPECT_EQ(url.PortText(), "8080");
}

TEST(Turl, PortTextReadsTheNumberAfterTheColonOrGives80)
{
    EXPECT_EQ(Turl("http://h.com:0080/").PortText(), "80");
    EXPECT_EQ(Turl("http://h.com:x/").PortText(), "80");
    EXPECT_EQ(Turl("http://h.com:/").PortText(), "80");
    EXPECT_EQ(Turl("http://h.com/").PortText(), "80");
    EXPECT_EQ(Turl("http://h.com:99999999999/").PortText(), "80");
    EXPECT_EQ(Turl("http://h.com:0080/").HostAndPort(), "h.com:0080");
    EXPECT_EQ(Turl("http://h.com:0080/").HostName(), "h.com");
}

TEST(Turl, AnHttpsAddressIsSecureOnPort443UnlessItNamesAnother)
{
    Turl url("HTTPS://Secure.Example.COM/A.htm");
    EXPECT_EQ(url.URLText(), "https://secure.example.com/A.htm");
    EXPECT_TRUE(url.IsSecure());
    EXPECT_EQ(url.PortText(), "443");
    EXPECT_EQ(url.HostName(), "secure.example.com");
    EXPECT_EQ(url.LocalPath(), "A.htm");
    EXPECT_EQ(Turl("https://h.com").URLText(), "https://h.com/");
    EXPECT_EQ(Turl("https://h.com:8443/").PortText(), "8443");
    EXPECT_EQ(Turl("https://h.com:x/").PortText(), "443");
    for (const char* plain : {"http://h.com/", "httpsx://h.com/", "h.com", "/https://h.com/"}) {
        EXPECT_FALSE(Turl(plain).IsSecure()) << plain;
        EXPECT_EQ(Turl(plain).PortText(), "80") << plain;
    }
}

TEST(TurlCombine, LinksOfAnHttpsPageStayHttpsUnlessTheyNameAScheme)
{
    Turl page("https://h.com/dir/page.htm");
    EXPECT_EQ(page.Combine("a.htm").URLText(), "https://h.com/dir/a.htm");
    EXPECT_EQ(page.Combine("//cdn.h.com/p.gif").URLText(), "https://cdn.h.com/p.gif");
    EXPECT_EQ(page.Combine("http://h.com/b.htm").URLText(), "http://h.com/b.htm");
    EXPECT_EQ(Turl("http://h.com/").Combine("HTTPS://H.com/c.htm").URLText(), "https://h.com/c.htm");
    EXPECT_EQ(Turl("https://h.com/").Combine("../up.htm").URLText(), "https://h.com/up.htm");
}

TEST(Turl, TextsWithoutDoubleSlashAreAHostWhenTheyHaveADotElseAPath)
{
    Turl host("www.example.com");
    EXPECT_EQ(host.HostAndPort(), "www.example.com");
    EXPECT_EQ(host.HostName(), "www.example.com");
    EXPECT_EQ(host.PathPart(), "");
    EXPECT_EQ(host.LocalPath(), "");

    Turl word("localhost");
    EXPECT_EQ(word.HostAndPort(), "");
    EXPECT_EQ(word.PathPart(), "localhost");

    Turl opaque("news:a//b.c");
    EXPECT_EQ(opaque.HostAndPort(), "b.c");
    EXPECT_EQ(opaque.PathPart(), "");
    EXPECT_EQ(Turl("news:a//b").HostAndPort(), "");
}

TEST(Turl, TheCanonicalTextHoldsAtMost300Characters)
{
    std::string head = "http://h.com/";
    std::string fits = head + std::string(300 - head.size(), 'a');
    EXPECT_EQ(Turl(fits).URLText(), fits);
    EXPECT_EQ(Turl(fits + "a").URLText(), "");
    // The limit is on the decoded text.
    std::string escaped = head;
    for (size_t i = head.size(); i < 300; ++i)
        escaped += "%41";
    EXPECT_EQ(Turl(escaped).URLText().size(), 300u);
    EXPECT_EQ(Turl(escaped + "%41").URLText(), "");
    EXPECT_EQ(Turl(head).Combine(std::string(300 - head.size() + 1, 'a')).URLText(), "");
}

TEST(TurlCombine, DotDotAtTheTopOfASiteStaysInTheSite)
{
    EXPECT_EQ(Turl("http://h.com/x.htm").Combine("../a.htm").URLText(), "http://h.com/a.htm");
    EXPECT_EQ(Turl("http://h.com/").Combine("../../a.htm").URLText(), "http://h.com/a.htm");
    // Only the two dots are dropped, even where they start a name.
    EXPECT_EQ(Turl("http://h.com/").Combine("..a.htm").URLText(), "http://h.com/a.htm");
    EXPECT_EQ(Turl("http://h.com/x.htm?p/q").Combine("..a.htm").URLText(),
              "http://h.com/..a.htm");
}

TEST(TurlCombine, DotDotBelowTheTopResolvesAsUsual)
{
    EXPECT_EQ(Turl("http://h.com/dir/x.htm").Combine("../a.htm").URLText(), "http://h.com/a.htm");
    EXPECT_EQ(Turl("http://h.com/d/s/x.htm").Combine("../a.htm").URLText(),
              "http://h.com/d/a.htm");
    EXPECT_EQ(Turl("http://h.com/dir/x.htm").Combine("..a.htm").URLText(),
              "http://h.com/dir/..a.htm");
}

TEST(TurlCombine, TheResultIsCanonicalisedAgain)
{
    Turl page("http://h.com/dir/x.htm");
    EXPECT_EQ(page.Combine("A%20B.htm").URLText(), "http://h.com/dir/A B.htm");
    EXPECT_EQ(page.Combine("//Other.COM").URLText(), "http://other.com/");
    EXPECT_EQ(page.Combine("HTTP://X.COM/Y").URLText(), "http://x.com/Y");
    EXPECT_EQ(page.Combine("#top").URLText(), "http://h.com/dir/x.htm#top");
}

TEST(TurlCombine, AReferenceThatCannotBeResolvedGivesAnEmptyUrl)
{
    EXPECT_EQ(Turl("www.example.com").Combine("a.htm").URLText(), "");
    EXPECT_EQ(Turl().Combine("a.htm").URLText(), "");
}

class StorePath : public ::testing::Test {
protected:
    void TearDown() override { SetHostCache(nullptr); }
};

TEST_F(StorePath, AnUncachedHostHasAnEmptyAddressPart)
{
    EXPECT_EQ(Turl("http://h.com/index.htm").StorePath(), "wwwData//index.htm");
    TempFolder folder;
    TDNS cache;
    SetHostCache(&cache);
    EXPECT_EQ(Turl("http://h.com/").StorePath(), "wwwData//default.htm");
}

TEST_F(StorePath, ACachedHostNamesItsSiteFolderWhateverThePortOrCase)
{
    TempFolder folder;
    folder.Write("dns.ini", "[www]\nwww.example.com=10.0.0.1\nother.example.com=10.0.0.1\n");
    TDNS cache;
    SetHostCache(&cache);
    EXPECT_EQ(Turl("http://WWW.Example.com:8080/dir/").StorePath(), "wwwData/10.0.0.1/dir/default.htm");
    EXPECT_EQ(Turl("http://other.example.com/dir/").StorePath(), "wwwData/10.0.0.1/dir/default.htm");
    EXPECT_EQ(Turl("http://www.example.com/q?x").StorePath(), "");
    EXPECT_EQ(Turl("http://www.example.com/%2e%2e/x").StorePath(), "");
}

TEST_F(StorePath, AnHttpsPageSharesTheFileOfItsHttpTwin)
{
    TempFolder folder;
    folder.Write("dns.ini", "[www]\nwww.example.com=10.0.0.1\n");
    TDNS cache;
    SetHostCache(&cache);
    for (const char* path : {"/", "/dir/Page.htm", "/a%20b.htm"}) {
        std::string twin = Turl(std::string("http://www.example.com") + path).StorePath();
        EXPECT_FALSE(twin.empty()) << path;
        EXPECT_EQ(Turl(std::string("https://www.example.com") + path).StorePath(), twin) << path;
        EXPECT_EQ(Turl(std::string("https://WWW.example.com:8443") + path).StorePath(), twin) << path;
    }
    EXPECT_EQ(Turl("https://www.example.com/q?x").StorePath(), "");
}

TEST_F(StorePath, AnAddressThatIsNoFolderNameGivesNoStorePath)
{
    TempFolder folder;
    folder.Write("dns.ini", "[www]\nup.com=..\nslash.com=../../etc\n");
    TDNS cache;
    SetHostCache(&cache);
    EXPECT_EQ(Turl("http://up.com/x.htm").StorePath(), "");
    EXPECT_EQ(Turl("http://slash.com/x.htm").StorePath(), "");
}

}  // namespace
