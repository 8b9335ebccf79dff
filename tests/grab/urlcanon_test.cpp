#include <gtest/gtest.h>

#include <string>

#include "grab/urlcanon.h"

namespace {

TEST(CanonicalUrl, LowersSchemeAndHostButNotUserInformationOrPath)
{
    EXPECT_EQ(CanonicalUrl("HTTP://WWW.Example.COM:8080/Dir/Page.HTM?Q=A#Top"),
              "http://www.example.com:8080/Dir/Page.HTM?Q=A#Top");
    EXPECT_EQ(CanonicalUrl("http://User:PW@Host.COM/"), "http://User:PW@host.com/");
}

TEST(CanonicalUrl, AnEmptyPathAfterAnAuthorityBecomesASlash)
{
    EXPECT_EQ(CanonicalUrl("http://www.example.com"), "http://www.example.com/");
    EXPECT_EQ(CanonicalUrl("http://www.example.com?x"), "http://www.example.com/?x");
    EXPECT_EQ(CanonicalUrl("http://h#f"), "http://h/#f");
}

TEST(CanonicalUrl, DecodesEscapesOnceEverywhereButTheAuthority)
{
    EXPECT_EQ(CanonicalUrl("http://h/a%20b.htm?q=%41%4a%4A#%7e"), "http://h/a b.htm?q=AJJ#~");
    EXPECT_EQ(CanonicalUrl("http://h/%252e"), "http://h/%2e");
    EXPECT_EQ(CanonicalUrl("http://h/100%/%zz/%4/%"), "http://h/100%/%zz/%4/%");
    EXPECT_EQ(CanonicalUrl("http://a%2Fb%40c/x"), "http://a%2fb%40c/x");
}

TEST(CanonicalUrl, RemovesDotSegmentsBeforeDecoding)
{
    EXPECT_EQ(CanonicalUrl("http://h/a/b/../../../c/./d"), "http://h/c/d");
    EXPECT_EQ(CanonicalUrl("http://h/a/%2e%2e/b"), "http://h/a/../b");
    EXPECT_EQ(CanonicalUrl("/a/./b/../c"), "/a/c");
}

TEST(CanonicalUrl, KeepsRelativeAndOpaqueTextsApartFromDecoding)
{
    EXPECT_EQ(CanonicalUrl("www.example.com"), "www.example.com");
    EXPECT_EQ(CanonicalUrl("../a%20b"), "../a b");
    EXPECT_EQ(CanonicalUrl("Mailto:Someone@Example.COM"), "mailto:Someone@Example.COM");
    // "1a:" is no scheme, so the text is a relative path.
    EXPECT_EQ(CanonicalUrl("1A:x"), "1A:x");
}

TEST(SplitUrl, TellsAbsentComponentsFromEmptyOnes)
{
    UrlParts parts = SplitUrl("http://h?#");
    EXPECT_EQ(parts.scheme, "http");
    EXPECT_TRUE(parts.hasAuthority);
    EXPECT_EQ(parts.authority, "h");
    EXPECT_EQ(parts.path, "");
    EXPECT_TRUE(parts.hasQuery);
    EXPECT_TRUE(parts.hasFragment);
    EXPECT_EQ(ComposeUrl(parts), "http://h?#");

    UrlParts bare = SplitUrl("a/b");
    EXPECT_FALSE(bare.hasScheme || bare.hasAuthority || bare.hasQuery || bare.hasFragment);
    EXPECT_EQ(bare.path, "a/b");
}

}  // namespace
