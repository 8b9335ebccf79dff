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
    // Each fetch has a temporary file of its own beside the page file.
    std::string first = TemporaryFile(page);
    std::string second = TemporaryFile(page);
    EXPECT_NE(first, second);
    for (const std::string& temporary : {first, second}) {
        EXPECT_EQ(temporary.rfind(page + ".", 0), 0u) << temporary;
        EXPECT_EQ(temporary.substr(temporary.size() - 4), ".TMP") << temporary;
        EXPECT_EQ(temporary.find('/', page.size()), std::string::npos) << temporary;
    }
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
