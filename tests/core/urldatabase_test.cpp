#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/mainthread.h"
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

// Grab threads take URLs and queue the links they found at the same time, without the
// main thread: every URL queued, by one thread or by two, is taken exactly once.
TEST_F(UrlDatabaseTest, ThreadsQueueingAndTakingAtOnceLoseNothingAndTakeNothingTwice)
{
    const int threads = 4;
    const int perPair = 3000;
    std::mutex takenLock;
    std::vector<std::string> taken;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            std::vector<std::string> mine;
            // Threads 0 and 1 queue the same URLs, as do 2 and 3, in opposite orders.
            for (int i = 0; i < perPair; ++i) {
                int n = t % 2 == 0 ? i : perPair - 1 - i;
                lists.AddPending("http://a/" + std::to_string(t / 2) + "/" + std::to_string(n), 1);
                std::string entry = lists.TakeFirst();
                if (!entry.empty())
                    mine.push_back(entry);
            }
            std::lock_guard guard(takenLock);
            taken.insert(taken.end(), mine.begin(), mine.end());
        });
    for (std::thread& worker : workers)
        worker.join();
    for (std::string entry = lists.TakeFirst(); !entry.empty(); entry = lists.TakeFirst())
        taken.push_back(entry);

    std::set<std::string> distinct(taken.begin(), taken.end());
    EXPECT_EQ(taken.size(), distinct.size());
    EXPECT_EQ(distinct.size(), static_cast<size_t>(2 * perPair));
    EXPECT_TRUE(distinct.count("http://a/1/" + std::to_string(perPair - 1) + "=1"));
    EXPECT_EQ(lists.KnownCount(), static_cast<size_t>(2 * perPair));
    EXPECT_EQ(lists.PendingCount(), 0u);
}

// A message box is the main thread's: what a grab thread adds in the debug version is
// shown there, while the grab thread waits.
TEST_F(UrlDatabaseTest, TheDebugVersionShowsWhatAGrabThreadAddsOnTheMainThread)
{
    class WhereShown : public ScriptedUi {
    public:
        void Message(const std::string& text) override
        {
            ScriptedUi::Message(IsMainThread() ? text : text + " (not on the main thread)");
        }
    } ui;
    Settings().bdebugVersion = true;
    std::atomic<bool> added{false};
    std::thread grab([&] {
        lists.AddPending("http://a/p", 4);
        added = true;
        WakeWaiters();
    });
    EXPECT_TRUE(WaitOnMain([&] { return added.load(); }, std::chrono::seconds(30)));
    grab.join();
    EXPECT_EQ(ui.Shown("message"), (std::vector<std::string>{"vect\rhttp://a/p\r4", "bank\rhttp://a/p\r4"}));
}

}  // namespace
