#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "net/dns.h"
#include "platform/profilefile.h"
#include "support/tempfolder.h"

namespace {

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
