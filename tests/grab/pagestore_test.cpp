#include <gtest/gtest.h>

#include <string>

#include "grab/pagestore.h"
#include "grab/turl.h"
#include "support/tempfolder.h"

namespace {

TEST(PageStore, NamesLieUnderWwwDataOfTheProgramFolder)
{
    TempFolder folder;
    EXPECT_EQ(StoreRoot(), folder / "wwwData/");
    std::string site = SiteFolder("10.0.0.1");
    EXPECT_EQ(site, folder / "wwwData/10.0.0.1");
    std::string page = PageFile(site, Turl("http://h.com/index.htm").LocalPath());
    EXPECT_EQ(page, folder / "wwwData/10.0.0.1/index.htm");
    EXPECT_EQ(TemporaryFile(page), folder / "wwwData/10.0.0.1/index.htm.TMP");
}

TEST(PageStore, APageWithoutLocalPathOrSiteFolderHasNoFile)
{
    TempFolder folder;
    EXPECT_EQ(PageFile(SiteFolder("10.0.0.1"), Turl("http://h.com/q?x=1").LocalPath()), "");
    EXPECT_EQ(PageFile(SiteFolder(".."), "index.htm"), "");
    EXPECT_EQ(PageFile(SiteFolder(""), "index.htm"), "");
    EXPECT_EQ(PageFile(SiteFolder("a/b"), "index.htm"), "");
    EXPECT_EQ(PageFile(SiteFolder(std::string("a\0b", 3)), "index.htm"), "");
}

}  // namespace
