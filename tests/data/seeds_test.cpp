#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/paths.h"
#include "data/databaseerror.h"
#include "data/databasefile.h"
#include "data/session.h"
#include "data/table.h"
#include "support/tempfolder.h"

namespace {

const std::string kSeeds = std::string(ZANVIK_SOURCE_DIR) + "/resources/";

int Characters(const std::string& text)
{
    int count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

class SeedsTest : public ::testing::Test {
protected:
    TempFolder folder{TempFolder::Use::Plain};
    TSession session{"Default"};
};

TEST_F(SeedsTest, CategoriesAreTheTabsOfTheMainWindow)
{
    ASSERT_TRUE(SeedDatabaseFile(kSeeds + "kind.sql", folder / "data/kind.db"));
    TTable kind(session, "kindTab");
    kind.SetDatabaseName(folder / "data");
    kind.SetTableName("kind.db");
    kind.Open();
    std::vector<std::string> names;
    for (kind.First(); !kind.Eof(); kind.Next()) {
        EXPECT_EQ(kind.FieldByName("kind_serial").AsInteger(), static_cast<int>(names.size()) + 1);
        names.push_back(kind.FieldByName("text").AsString());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"工商產業", "生活資訊", "休閒育樂", "社會文化", "科學", "國家",
                                               "教育事業", "醫療保健", "藝文", "我的最愛"}));
}

TEST_F(SeedsTest, PhoneBookHoldsFiveSitesInEachOfTheFirstNineCategories)
{
    ASSERT_TRUE(SeedDatabaseFile(kSeeds + "favor.sql", folder / "data/favor.db"));
    TTable favor(session, "telStation");
    favor.SetTableName(folder / "data/favor");
    favor.Open();
    std::map<int, int> perCategory;
    std::set<std::string> urls;
    for (favor.First(); !favor.Eof(); favor.Next()) {
        std::string url = favor.FieldByName("URL").AsString();
        std::string alias = favor.FieldByName("ALIAS").AsString();
        std::string description = favor.FieldByName("DESCRIPTION").AsString();
        ++perCategory[favor.FieldByName("KIND_SERIAL").AsInteger()];
        EXPECT_EQ(url.rfind("http://", 0), 0u) << url;
        EXPECT_TRUE(urls.insert(url).second) << "twice: " << url;
        EXPECT_LE(Characters(url), 50) << url;
        EXPECT_FALSE(alias.empty()) << url;
        EXPECT_LE(Characters(alias), 30) << alias;
        EXPECT_GE(Characters(description), 8) << alias;
        EXPECT_LE(Characters(description), 255) << alias;
        EXPECT_FALSE(favor.FieldByName("BSchedule").AsBoolean()) << alias;
    }
    for (int category = 1; category <= 9; ++category)
        EXPECT_GE(perCategory[category], 5) << "category " << category;
    EXPECT_EQ(perCategory.count(10), 0u);
}

TEST_F(SeedsTest, SeedingLeavesAnExistingFileAlone)
{
    folder.Write("data/favor.db", "the user's own phone book");
    EXPECT_FALSE(SeedDatabaseFile(kSeeds + "favor.sql", folder / "data/favor.db"));
    EXPECT_EQ(folder.Read("data/favor.db"), "the user's own phone book");
}

TEST_F(SeedsTest, AFailedCreationLeavesNothingBehind)
{
    EXPECT_THROW(CreateDatabaseFile(folder / "broken.db", "CREATE TABLE broken (a INTEGER); INSERT INTO nowhere VALUES (1);"),
                 EDatabaseError);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

}  // namespace
