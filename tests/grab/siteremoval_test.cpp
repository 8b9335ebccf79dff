#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/paths.h"
#include "grab/siteremoval.h"
#include "net/dns.h"
#include "support/tempfolder.h"
#include "support/undeletablefile.h"

namespace {

using TOutcome = TSiteRemoval::TOutcome;

class SiteRemoval : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.Write("dns.ini", "[www]\nwww.example.com=10.0.0.1\nother.example.com=10.0.0.2\n"
                                "up.com=..\n");
        cache = std::make_unique<TDNS>();
        SetHostCache(cache.get());
        folder.Write("wwwData/10.0.0.1/default.htm", "home");
        folder.Write("wwwData/10.0.0.1/dir/sub/page.htm", "page");
        folder.Write("wwwData/10.0.0.2/default.htm", "other");
        folder.Write("vorlan.ini", "[setup]\n");
    }
    void TearDown() override { SetHostCache(nullptr); }

    bool Exists(const std::string& name) const { return std::filesystem::exists(folder / name); }

    TempFolder folder;
    std::unique_ptr<TDNS> cache;
};

TEST_F(SiteRemoval, TheStartPagesFolderGoesWithEverythingInIt)
{
    TSiteRemoval top("http://WWW.Example.com:8080");
    EXPECT_EQ(top.Folder(), folder / "wwwData/10.0.0.1");
    TSiteRemoval deeper("http://www.example.com/dir/sub/page.htm");
    EXPECT_EQ(deeper.Folder(), folder / "wwwData/10.0.0.1/dir/sub");

    deeper.Run();
    EXPECT_EQ(deeper.Outcome(), TOutcome::Removed);
    EXPECT_FALSE(Exists("wwwData/10.0.0.1/dir/sub"));
    EXPECT_TRUE(Exists("wwwData/10.0.0.1/dir"));

    top.Run();
    EXPECT_EQ(top.Outcome(), TOutcome::Removed);
    EXPECT_EQ(top.Failures(), 0);
    EXPECT_FALSE(Exists("wwwData/10.0.0.1"));
    EXPECT_TRUE(Exists("wwwData/10.0.0.2/default.htm"));
    EXPECT_TRUE(Exists("vorlan.ini"));
}

TEST_F(SiteRemoval, WithoutStorePathOrCachedAddressNothingIsDeleted)
{
    for (const char* url : {"http://www.example.com/cgi/q?x=1", "http://www.example.com/page.htm#top",
                            "http://www.example.com/%2e%2e/x.htm", ""}) {
        TSiteRemoval removal(url);
        EXPECT_EQ(removal.Folder(), "") << url;
        removal.Run();
        EXPECT_EQ(removal.Outcome(), TOutcome::NoStorePath) << url;
    }
    for (const char* url : {"http://unknown.example.com/", "http://up.com/x.htm"}) {
        TSiteRemoval removal(url);
        EXPECT_EQ(removal.Folder(), "") << url;
        removal.Run();
        EXPECT_EQ(removal.Outcome(), TOutcome::NotCached) << url;
    }
    SetHostCache(nullptr);
    TSiteRemoval noCache("http://www.example.com/");
    noCache.Run();
    EXPECT_EQ(noCache.Outcome(), TOutcome::NotCached);

    EXPECT_TRUE(Exists("wwwData/10.0.0.1/default.htm"));
    EXPECT_TRUE(Exists("wwwData/10.0.0.2/default.htm"));
    EXPECT_TRUE(Exists("vorlan.ini"));
}

TEST_F(SiteRemoval, AFolderAlreadyGoneIsNoFailure)
{
    TSiteRemoval removal("http://www.example.com/never/grabbed.htm");
    removal.Run();
    EXPECT_EQ(removal.Outcome(), TOutcome::Gone);
    EXPECT_EQ(removal.Failures(), 0);
    RemoveTree(folder / "wwwData");
    TSiteRemoval top("http://www.example.com/");
    top.Run();
    EXPECT_EQ(top.Outcome(), TOutcome::Gone);
}

TEST_F(SiteRemoval, ALinkInsideTheSiteFolderGoesAndItsTargetSurvives)
{
    folder.Write("precious/keep.htm", "keep");
    std::filesystem::create_directory_symlink(folder / "precious", folder / "wwwData/10.0.0.1/dir/outside");
    std::filesystem::create_symlink(folder / "precious/keep.htm", folder / "wwwData/10.0.0.1/keep.htm");
    TSiteRemoval removal("http://www.example.com/");
    removal.Run();
    EXPECT_EQ(removal.Outcome(), TOutcome::Removed);
    EXPECT_FALSE(Exists("wwwData/10.0.0.1"));
    EXPECT_EQ(folder.Read("precious/keep.htm"), "keep");
}

TEST_F(SiteRemoval, AFolderReachedThroughALinkIsLeftAloneAndALinkedFolderGoesAsALink)
{
    folder.Write("precious/sub/keep.htm", "keep");
    std::filesystem::create_directory_symlink(folder / "precious", folder / "wwwData/10.0.0.1/linked");
    TSiteRemoval through("http://www.example.com/linked/sub/keep.htm");
    through.Run();
    EXPECT_EQ(through.Outcome(), TOutcome::Refused);
    EXPECT_EQ(folder.Read("precious/sub/keep.htm"), "keep");

    TSiteRemoval link("http://www.example.com/linked/page.htm");
    link.Run();
    EXPECT_EQ(link.Outcome(), TOutcome::Removed);
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "wwwData/10.0.0.1/linked"));
    EXPECT_EQ(folder.Read("precious/sub/keep.htm"), "keep");

    // A site folder that is itself a link goes as a link.
    RemoveTree(folder / "wwwData/10.0.0.2");
    std::filesystem::create_directory_symlink(folder / "precious", folder / "wwwData/10.0.0.2");
    TSiteRemoval site("http://other.example.com/");
    site.Run();
    EXPECT_EQ(site.Outcome(), TOutcome::Removed);
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "wwwData/10.0.0.2"));
    EXPECT_EQ(folder.Read("precious/sub/keep.htm"), "keep");
}

TEST_F(SiteRemoval, AFileWhereTheFolderShouldBeIsLeftAlone)
{
    folder.Write("wwwData/10.0.0.1/plain", "a page stored without its slash");
    TSiteRemoval removal("http://www.example.com/plain/index.htm");
    removal.Run();
    EXPECT_EQ(removal.Outcome(), TOutcome::Refused);
    EXPECT_TRUE(Exists("wwwData/10.0.0.1/plain"));
}

TEST_F(SiteRemoval, WhatCannotBeRemovedIsCountedAndTheRestGoes)
{
    folder.Write("wwwData/10.0.0.1/locked/stays.htm", "stays");
    UndeletableFile locked(folder / "wwwData/10.0.0.1/locked/stays.htm");
    if (!locked.Made())
        GTEST_SKIP() << "no file can be made undeletable here";
    TSiteRemoval removal("http://www.example.com/");
    removal.Run();
    EXPECT_EQ(removal.Outcome(), TOutcome::Removed);
    EXPECT_EQ(removal.Failures(), 1);
    EXPECT_TRUE(Exists("wwwData/10.0.0.1/locked/stays.htm"));
    EXPECT_FALSE(Exists("wwwData/10.0.0.1/default.htm"));
    EXPECT_FALSE(Exists("wwwData/10.0.0.1/dir"));
}

}  // namespace
