#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "net/dns.h"
#include "platform/profilefile.h"
#include "support/tempfolder.h"

namespace {

TEST(HostCache, AnEmptyValueCountsAsNoEntry)
{
    TempFolder folder;
    folder.Write("dns.ini", "[www]\nblank.example=\nother.example=10.0.0.2\n");
    TDNS cache;
    EXPECT_EQ(cache.Lookup("blank.example"), "");
    cache.Remember("blank.example", "10.0.0.1");
    EXPECT_EQ(cache.Lookup("blank.example"), "10.0.0.1");
    EXPECT_EQ(folder.Read("dns.ini"), "[www]\nblank.example=10.0.0.1\nother.example=10.0.0.2\n");
}

TEST(HostCache, AnEntryThatCouldNotBeWrittenIsWrittenWithTheNextOneAndTheFailureIsLogged)
{
    TempFolder folder;
    StartLog();
    TDNS cache;
    // A folder in the file's place refuses the write.
    ForceFolderOf(folder / "dns.ini/x");
    cache.Remember("first.example", "10.0.0.1");
    EXPECT_EQ(cache.Lookup("first.example"), "10.0.0.1");
    std::remove((folder / "dns.ini").c_str());
    cache.Remember("second.example", "10.0.0.2");
    EXPECT_EQ(folder.Read("dns.ini"), "[www]\nfirst.example=10.0.0.1\nsecond.example=10.0.0.2\n");
    ServeMainQueue();
    auto log = TProfileFile(folder / "logfile.txt").ReadSectionValues("log");
    EndLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_NE(log[2].second.find("dns.ini"), std::string::npos) << log[2].second;
}

TEST(HostCache, EntriesAreLoadedFromDnsIniAndFoundInAnyCase)
{
    TempFolder folder;
    folder.Write("dns.ini", "[other]\nignored=1.1.1.1\n[www]\nWWW.Example.COM=10.0.0.1\n");
    TDNS cache;
    EXPECT_EQ(cache.Lookup("www.example.com"), "10.0.0.1");
    EXPECT_EQ(cache.Lookup("ignored"), "");
    EXPECT_EQ(cache.Lookup("never.example.com"), "");
}

TEST(HostCache, TheFirstAddressStaysAndNewEntriesReachTheFileAtOnce)
{
    TempFolder folder;
    TDNS cache;
    cache.Remember("a.example", "127.0.0.1");
    cache.Remember("A.EXAMPLE", "127.0.0.2");
    cache.Remember("b.example", "127.0.0.1");
    cache.Remember("c.example", "");
    EXPECT_EQ(cache.Lookup("a.example"), "127.0.0.1");
    EXPECT_EQ(cache.Lookup("b.example"), "127.0.0.1");
    EXPECT_EQ(cache.Lookup("c.example"), "");
    EXPECT_EQ(folder.Read("dns.ini"), "[www]\na.example=127.0.0.1\nb.example=127.0.0.1\n");
    TDNS reloaded;
    EXPECT_EQ(reloaded.Lookup("A.Example"), "127.0.0.1");
}

TEST(HostCache, RememberGivesTheFolderAHostKeepsWhateverAddressItIsReachedAt)
{
    TempFolder folder;
    folder.Write("dns.ini", "[www]\nold.example=10.0.0.9\n");
    TDNS cache;
    EXPECT_EQ(cache.Remember("new.example", "10.0.0.1"), "10.0.0.1");
    // Round-robin names, a content network or a move: later addresses change nothing.
    EXPECT_EQ(cache.Remember("NEW.example", "10.0.0.2"), "10.0.0.1");
    EXPECT_EQ(cache.Remember("old.example", "10.0.0.1"), "10.0.0.9");
    EXPECT_EQ(cache.Remember("old.example", ""), "10.0.0.9");
    EXPECT_EQ(cache.Remember("unknown.example", ""), "");
    EXPECT_EQ(folder.Read("dns.ini"), "[www]\nold.example=10.0.0.9\nnew.example=10.0.0.1\n");
}

TEST(HostCache, LookupsFromWorkersAreSafeWhileEntriesAreAdded)
{
    TempFolder folder;
    TDNS cache;
    std::atomic<bool> done{false};
    std::atomic<int> found{0};
    std::thread reader([&] {
        while (!done)
            if (!cache.Lookup("host0").empty())
                ++found;
    });
    for (int i = 0; i < 50; ++i)
        cache.Remember("host" + std::to_string(i), "127.0.0." + std::to_string(i + 1));
    done = true;
    reader.join();
    EXPECT_EQ(cache.Lookup("host49"), "127.0.0.50");
    EXPECT_EQ(TProfileFile(folder / "dns.ini").ReadSection("www").size(), 50u);
}

}  // namespace
