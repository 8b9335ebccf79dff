#include <gtest/gtest.h>

#include "grab/currentsite.h"
#include "grab/grabstate.h"

namespace {

TEST(CurrentSite, AddressesDifferingInCaseOrATrailingSlashNameTheSameSite)
{
    EXPECT_TRUE(SameSiteAddress("http://www.example.com/", "http://www.example.com/"));
    EXPECT_TRUE(SameSiteAddress("HTTP://WWW.EXAMPLE.COM", "http://www.example.com/"));
    EXPECT_TRUE(SameSiteAddress("http://www.example.com/News/", "http://www.example.com/news"));
    EXPECT_TRUE(SameSiteAddress("http://www.example.com/a/../b", "http://www.example.com/b"));
    EXPECT_TRUE(SameSiteAddress("http://www.example.com/%7Euser", "http://www.example.com/~user"));
    EXPECT_FALSE(SameSiteAddress("http://www.example.com/a", "http://www.example.com/b"));
    EXPECT_FALSE(SameSiteAddress("http://www.example.com/", "http://www.example.org/"));
    EXPECT_FALSE(SameSiteAddress("http://www.example.com/a//", "http://www.example.com/a"));
}

TEST(CurrentSite, NothingIsTheCurrentSiteWhileNoSiteIsGrabbed)
{
    GrabState().SetCurrentSiteURL("");
    EXPECT_FALSE(IsCurrentSite(""));
    EXPECT_FALSE(IsCurrentSite("http://www.example.com/"));
    GrabState().SetCurrentSiteURL("http://www.example.com");
    EXPECT_TRUE(IsCurrentSite("http://WWW.example.com/"));
    EXPECT_FALSE(IsCurrentSite(""));
    GrabState().SetCurrentSiteURL("");
}

}  // namespace
