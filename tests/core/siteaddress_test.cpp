#include <gtest/gtest.h>

#include "core/siteaddress.h"
#include "core/version.h"

namespace {

TEST(SiteAddress, APrefixOfEitherSchemeIsLoweredAndTheRestKeptAsTyped)
{
    EXPECT_EQ(NormalizeSiteAddress("HTTPS://Example.COM/Path"), "https://Example.COM/Path");
    EXPECT_EQ(NormalizeSiteAddress("https://www.gov.tw/"), "https://www.gov.tw/");
    EXPECT_EQ(NormalizeSiteAddress("Http://Example.com/A.htm"), "http://Example.com/A.htm");
    EXPECT_EQ(NormalizeSiteAddress("http://x.org"), "http://x.org");
}

TEST(SiteAddress, AnAddressWithoutAPrefixGainsHttp)
{
    EXPECT_EQ(NormalizeSiteAddress("www.Example.com/x"), "http://www.Example.com/x");
    // A scheme that is neither, or half a prefix, is part of the address as typed.
    EXPECT_EQ(NormalizeSiteAddress("https:/x.org"), "http://https:/x.org");
    EXPECT_EQ(NormalizeSiteAddress("ftp://x.org"), "http://ftp://x.org");
    EXPECT_EQ(NormalizeSiteAddress(""), "");
}

TEST(SiteAddress, NormalizingTwiceChangesNothing)
{
    for (const char* typed : {"HTTPS://a.b/C", "a.b", "HTTP://a.b"})
        EXPECT_EQ(NormalizeSiteAddress(NormalizeSiteAddress(typed)), NormalizeSiteAddress(typed)) << typed;
}

TEST(Version, TheUserAgentNamesZanvikAndItsVersion)
{
    EXPECT_FALSE(ZanvikVersion().empty());
    EXPECT_EQ(UserAgent(), "Zanvik/" + ZanvikVersion());
}

}  // namespace
