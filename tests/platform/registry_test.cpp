#include <gtest/gtest.h>

#include "platform/registry.h"
#include "support/tempfolder.h"

namespace {

const char* const kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

TEST(Registry, ValuesKeepTheirTypesAndNamesMatchWithoutRegardToCase)
{
    TempFolder folder;
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey(kKey, false));
    ASSERT_TRUE(registry.OpenKey(kKey, true));
    registry.WriteString("proxyServer", "127.0.0.1:8088");
    registry.WriteInteger("count", 3);
    const unsigned char enable[4] = {1, 0, 0, 0};
    registry.WriteBinaryData("backup\\proxyEnable", enable, 4);

    TRegistry other;
    ASSERT_TRUE(other.OpenKey("\\software\\microsoft\\windows\\currentversion\\internet settings", false));
    EXPECT_EQ(other.ReadString("PROXYSERVER"), "127.0.0.1:8088");
    EXPECT_EQ(other.ReadInteger("Count"), 3);
    unsigned char read[4] = {};
    EXPECT_EQ(other.ReadBinaryData("Backup\\ProxyEnable", read, 4), 4u);
    EXPECT_EQ(read[0], 1);
    EXPECT_EQ(other.ReadString("missing"), "");
    EXPECT_EQ(other.ReadBinaryData("missing", read, 4), 0u);
    EXPECT_FALSE(other.ReadInteger("missing").has_value());
    EXPECT_NE(folder.Read("windows/registry.ini").find("[HKEY_CURRENT_USER\\" + std::string(kKey) + "]"),
              std::string::npos);
}

TEST(Registry, AValueOfTheWrongTypeOrSizeRaises)
{
    TempFolder folder;
    TRegistry registry;
    registry.OpenKey(kKey, true);
    registry.WriteString("text", "abc");
    const unsigned char eight[8] = {};
    registry.WriteBinaryData("long", eight, 8);
    unsigned char buffer[4];
    EXPECT_THROW(registry.ReadBinaryData("text", buffer, 4), ERegistryException);
    EXPECT_THROW(registry.ReadBinaryData("long", buffer, 4), ERegistryException);
    EXPECT_THROW(registry.ReadInteger("text"), ERegistryException);
    EXPECT_THROW(registry.ReadString("long"), ERegistryException);
}

TEST(Registry, SubKeysAreTheSectionsBelowAKey)
{
    TempFolder folder;
    folder.Write("windows/registry.ini",
                 "[HKEY_CURRENT_USER\\RemoteAccess\\Profile\\Office]\nx=str:1\n"
                 "[HKEY_CURRENT_USER\\RemoteAccess\\Profile\\Home\\Deep]\n"
                 "[HKEY_LOCAL_MACHINE\\RemoteAccess\\Profile\\Other]\n");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("RemoteAccess\\Profile", false));
    EXPECT_EQ(registry.GetKeyNames(), (std::vector<std::string>{"Office", "Home"}));
    registry.SetRoot(RegistryRoot::LocalMachine);
    ASSERT_TRUE(registry.OpenKey("RemoteAccess\\Profile", false));
    EXPECT_EQ(registry.GetKeyNames(), (std::vector<std::string>{"Other"}));
    EXPECT_FALSE(registry.KeyExists("RemoteAccess\\Nothing"));
}

TEST(Registry, DeletingAValueKeepsTheOthers)
{
    TempFolder folder;
    TRegistry registry;
    registry.OpenKey("Key", true);
    registry.WriteString("a", "1");
    registry.WriteString("b", "2");
    EXPECT_TRUE(registry.DeleteValue("A"));
    EXPECT_FALSE(registry.DeleteValue("a"));
    EXPECT_EQ(registry.GetValueNames(), (std::vector<std::string>{"b"}));
}

}  // namespace
