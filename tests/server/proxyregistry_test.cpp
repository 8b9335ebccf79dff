#include <array>

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "server/proxyregistry.h"
#include "server/proxysetup.h"
#include "support/tempfolder.h"

namespace {

const std::string kKey = TProxyRegistry::InternetSettings;
const std::string kSection = "[HKEY_CURRENT_USER\\" + kKey + "]\n";
const std::string kBackup = "[HKEY_CURRENT_USER\\" + kKey + "\\backup]\n";

std::string Read(const std::string& key, const std::string& name)
{
    TRegistry registry;
    registry.OpenKey(key, false);
    return registry.ReadString(name);
}

std::array<unsigned char, 4> Enable(const std::string& name = "proxyEnable")
{
    TRegistry registry;
    registry.OpenKey(kKey, false);
    std::array<unsigned char, 4> bytes{9, 9, 9, 9};
    EXPECT_EQ(registry.ReadBinaryData(name, bytes.data(), bytes.size()), 4u) << name;
    return bytes;
}

bool LiveValueExists(const std::string& name)
{
    TRegistry registry;
    registry.OpenKey(kKey, false);
    return registry.ValueExists(name);
}

}  // namespace

TEST(ProxyRegistry, RestoreCopiesTheSavedValuesOverTheLiveOnes)
{
    TempFolder folder;
    folder.Write("windows/registry.ini", kSection +
                                             "proxyEnable=bin:00000000\nproxyServer=str:127.0.0.1:8088\n"
                                             "proxyOverride=str:<local>\nBACKUP\\PROXYENABLE=bin:01000000\n"
                                             + kBackup + "ProxyServer=str:proxy.corp:3128\n"
                                             "proxyEnable=bin:02000000\n");
    TProxyRegistry().RestoreProxy();
    // The saved enable value is the one named "backup\proxyEnable" in the key itself.
    EXPECT_EQ(Enable(), (std::array<unsigned char, 4>{1, 0, 0, 0}));
    EXPECT_EQ(Read(kKey, "proxyServer"), "proxy.corp:3128");
    // The saved copy has no proxyOverride: the live one becomes empty.
    EXPECT_TRUE(LiveValueExists("proxyOverride"));
    EXPECT_EQ(Read(kKey, "proxyOverride"), "");
}

TEST(ProxyRegistry, WithoutSavedValuesTheStringsEmptyAndTheEnableStays)
{
    TempFolder folder;
    folder.Write("windows/registry.ini", kSection + "proxyEnable=bin:01000000\nproxyServer=str:127.0.0.1:8088\n"
                                                    "proxyOverride=str:<local>\n");
    TProxyRegistry().RestoreProxy();
    EXPECT_EQ(Enable(), (std::array<unsigned char, 4>{1, 0, 0, 0}));
    EXPECT_EQ(Read(kKey, "proxyServer"), "");
    EXPECT_EQ(Read(kKey, "proxyOverride"), "");
    EXPECT_FALSE(TRegistry().KeyExists(kKey + "\\backup"));
}

TEST(ProxyRegistry, AShortSavedEnableIsWrittenAsFourBytes)
{
    TempFolder folder;
    folder.Write("windows/registry.ini", kSection + "backup\\proxyEnable=bin:01\n");
    TProxyRegistry().RestoreProxy();
    EXPECT_EQ(Enable(), (std::array<unsigned char, 4>{1, 0, 0, 0}));
}

TEST(ProxyRegistry, ASavedEnableOfTheWrongTypeOrSizeRaisesAndChangesNothing)
{
    for (const char* saved : {"backup\\proxyEnable=str:1\n", "backup\\proxyEnable=bin:0100000000\n"}) {
        TempFolder folder;
        folder.Write("windows/registry.ini", kSection + "proxyServer=str:127.0.0.1:8088\n" + saved);
        TProxyRegistry proxy;
        EXPECT_THROW(proxy.RestoreProxy(), ERegistryException) << saved;
        EXPECT_EQ(Read(kKey, "proxyServer"), "127.0.0.1:8088");
        EXPECT_FALSE(LiveValueExists("proxyEnable"));
    }
}

TEST(ProxySetup, EmptyLiveValuesArePointedAtThePageServerAndTheOldOnesSaved)
{
    TempFolder folder;
    folder.Write("windows/registry.ini", kSection + "proxyServer=str:\nproxyOverride=str:<local>\n");
    EXPECT_TRUE(PointProxyAtPageServer());
    EXPECT_EQ(Read(kKey, "proxyServer"), "127.0.0.1:8088");
    EXPECT_EQ(Enable(), (std::array<unsigned char, 4>{1, 0, 0, 0}));
    EXPECT_EQ(Read(kKey, "proxyOverride"), "<local>");
    EXPECT_EQ(Enable("backup\\proxyEnable"), (std::array<unsigned char, 4>{0, 0, 0, 0}));
    EXPECT_EQ(Read(kKey + "\\backup", "proxyOverride"), "<local>");

    // Restoring gives back what there was before the set-up.
    TProxyRegistry().RestoreProxy();
    EXPECT_EQ(Read(kKey, "proxyServer"), "");
    EXPECT_EQ(Enable(), (std::array<unsigned char, 4>{0, 0, 0, 0}));
    EXPECT_EQ(Read(kKey, "proxyOverride"), "<local>");
}

TEST(ProxySetup, ASetProxyAndEarlierSavedCopiesAreKept)
{
    TempFolder folder;
    folder.Write("windows/registry.ini", kSection + "proxyServer=str:proxy.corp:3128\n");
    EXPECT_FALSE(PointProxyAtPageServer());
    EXPECT_EQ(Read(kKey, "proxyServer"), "proxy.corp:3128");
    EXPECT_FALSE(LiveValueExists("proxyEnable"));

    folder.Write("windows/registry.ini", kSection + "backup\\proxyEnable=bin:01000000\n" + kBackup +
                                             "proxyServer=str:proxy.corp:3128\n");
    EXPECT_TRUE(PointProxyAtPageServer());
    EXPECT_EQ(Enable("backup\\proxyEnable"), (std::array<unsigned char, 4>{1, 0, 0, 0}));
    EXPECT_EQ(Read(kKey + "\\backup", "proxyServer"), "proxy.corp:3128");
    EXPECT_EQ(Read(kKey + "\\backup", "proxyOverride"), "");
    EXPECT_EQ(Read(kKey, "proxyServer"), "127.0.0.1:8088");
}
