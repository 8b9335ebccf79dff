#include <gtest/gtest.h>

#include "core/settings.h"
#include "core/urldatabase.h"
#include "support/scriptedui.h"

namespace {

class UrlDatabaseTest : public ::testing::Test {
protected:
    void TearDown() override { Settings() = TSettings(); }
    TURL_database lists;
};

TEST_F(UrlDatabaseTest, TakeFirstOnAnEmptyListGivesTheEmptyText)
{
    EXPECT_EQ(lists.TakeFirst(), "");
}

TEST_F(UrlDatabaseTest, PendingUrlsComeOutInOrderWithTheirLevels)
{
    lists.AddPending("http://a/1", 2);
    lists.AddPending("http://a/2", -1);
    EXPECT_EQ(lists.PendingCount(), 2u);
    EXPECT_EQ(lists.KnownCount(), 2u);
    EXPECT_EQ(lists.TakeFirst(), "http://a/1=2");
    EXPECT_EQ(lists.TakeFirst(), "http://a/2=-1");
    EXPECT_EQ(lists.TakeFirst(), "");
    EXPECT_EQ(lists.KnownCount(), 2u);  // taking leaves bank alone
}

TEST_F(UrlDatabaseTest, RefusedSchemesAndEmptyUrlsAreNeverAdded)
{
    for (const char* url : {"FTP://host/file", "ftp:x", "mailto:someone@example.com", "MAILTO:x", "File:///etc/passwd",
                            "gopher://old", "GOPHER:"}) {
        lists.AddPending(url, 1);
        lists.AddKnown(url, 1);
    }
    lists.AddPending("", 1);
    EXPECT_EQ(lists.PendingCount(), 0u);
    EXPECT_EQ(lists.KnownCount(), 0u);
    lists.AddPending("ftpx://not-refused", 1);  // "ftp:" needs its colon
    EXPECT_EQ(lists.PendingCount(), 1u);
}

TEST_F(UrlDatabaseTest, ALowerOrEqualLevelAddsNothingAndAHigherOneMovesTheUrlToTheEnd)
{
    lists.AddPending("http://a/x", 1);
    lists.AddPending("http://a/y", 1);
    lists.AddPending("http://a/x", 0);
    lists.AddPending("http://a/x", 1);
    EXPECT_EQ(lists.PendingCount(), 2u);
    lists.AddPending("http://a/x", 3);
    EXPECT_EQ(lists.PendingCount(), 2u);
    EXPECT_EQ(lists.TakeFirst(), "http://a/y=1");
    EXPECT_EQ(lists.TakeFirst(), "http://a/x=3");
}

TEST_F(UrlDatabaseTest, AKnownUrlIsQueuedAgainOnlyWithAHigherLevel)
{
    lists.AddKnown("http://a/", 2);
    lists.AddPending("http://a/", 2);
    EXPECT_EQ(lists.PendingCount(), 0u);
    lists.AddPending("http://a/", 3);
    EXPECT_EQ(lists.TakeFirst(), "http://a/=3");
    // Once taken, bank still remembers level 3.
    lists.AddPending("http://a/", 3);
    EXPECT_EQ(lists.PendingCount(), 0u);
    lists.AddKnown("http://a/", 1);
    lists.AddPending("http://a/", 3);
    EXPECT_EQ(lists.PendingCount(), 0u);
}

TEST_F(UrlDatabaseTest, LookUpIsByExactText)
{
    lists.AddPending("http://a/X", 1);
    lists.AddPending("http://a/x", 1);
    EXPECT_EQ(lists.PendingCount(), 2u);
}

TEST_F(UrlDatabaseTest, ClearAllEmptiesBothLists)
{
    lists.AddPending("http://a/1", 1);
    lists.AddKnown("http://a/2", 1);
    lists.ClearAll();
    EXPECT_EQ(lists.PendingCount(), 0u);
    EXPECT_EQ(lists.KnownCount(), 0u);
    lists.AddPending("http://a/1", 1);
    EXPECT_EQ(lists.TakeFirst(), "http://a/1=1");
}

TEST_F(UrlDatabaseTest, ManyUrlsKeepTheirOrderThroughGrowthAndRequeueing)
{
    const int count = 5000;
    for (int i = 0; i < count; ++i)
        lists.AddPending("http://big.example/page" + std::to_string(i) + ".htm", 1);
    for (int i = 0; i < count; i += 2)
        lists.AddPending("http://big.example/page" + std::to_string(i) + ".htm", 2);
    EXPECT_EQ(lists.PendingCount(), static_cast<size_t>(count));
    for (int i = 1; i < count; i += 2)
        ASSERT_EQ(lists.TakeFirst(), "http://big.example/page" + std::to_string(i) + ".htm=1");
    for (int i = 0; i < count; i += 2)
        ASSERT_EQ(lists.TakeFirst(), "http://big.example/page" + std::to_string(i) + ".htm=2");
    EXPECT_EQ(lists.TakeFirst(), "");
    EXPECT_EQ(lists.PendingCount(), 0u);
    EXPECT_EQ(lists.KnownCount(), static_cast<size_t>(count));
}

TEST_F(UrlDatabaseTest, TheDebugVersionShowsEveryAddedUrl)
{
    ScriptedUi ui;
    Settings().bdebugVersion = true;
    lists.AddPending("http://a/p", 4);
    lists.AddPending("ftp://refused", 4);
    EXPECT_EQ(ui.Shown("message"), (std::vector<std::string>{"vect\rhttp://a/p\r4", "bank\rhttp://a/p\r4"}));
}

}  // namespace
