#include <gtest/gtest.h>

#include "core/settings.h"
#include "support/tempfolder.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { Settings() = TSettings(); }
    void TearDown() override { Settings() = TSettings(); }
    TempFolder folder;
};

TEST_F(SettingsTest, AMissingFileGivesEveryDefault)
{
    LoadSettings(SettingsFile());
    const TSettings& s = Settings();
    EXPECT_EQ(s.minVolumn, 10);
    EXPECT_EQ(s.maxSiteTime, 60);
    EXPECT_EQ(s.maxFileSize, 500 * 1024);
    EXPECT_EQ(s.maxTotalTime, 10);
    EXPECT_EQ(s.give_waitTime, 2500);
    EXPECT_EQ(s.give_blockSize, 4096);
    EXPECT_EQ(s.idefaultDepth, 2);
    EXPECT_FALSE(s.bdebugVersion);
    EXPECT_EQ(s.iDefaultFetchMaxTime, 10);
    EXPECT_FALSE(s.bdefaultCross);
    EXPECT_FALSE(s.RemindForLoad);
    EXPECT_FALSE(s.RemindFetchOver);
    EXPECT_TRUE(s.USE_browser);
    EXPECT_TRUE(s.USE_lan);
    EXPECT_EQ(s.dial_who, "");
}

TEST_F(SettingsTest, MaxFileSizeIsHeldInBytesAndStoredInKilobytes)
{
    folder.Write("vorlan.ini", "[setup]\nmaxFileSize=3\n");
    LoadSettings(SettingsFile());
    EXPECT_EQ(Settings().maxFileSize, 3072);
    Settings().maxFileSize = 5000;  // the remainder is dropped
    TProfileFile file = SettingsFile();
    SaveSettings(file);
    EXPECT_EQ(file.ReadString("setup", "maxFileSize", ""), "4");
}

TEST_F(SettingsTest, KeysAreFoundInAnyCaseAndWrittenInTheWritersSpelling)
{
    folder.Write("vorlan.ini", "[SETUP]\nremindforload=1\nUSE_LAN=0\ngive_blocksize=0x100\n");
    LoadSettings(SettingsFile());
    EXPECT_TRUE(Settings().RemindForLoad);
    EXPECT_FALSE(Settings().USE_lan);
    EXPECT_EQ(Settings().give_blockSize, 256);
    TProfileFile file = SettingsFile();
    SaveSettings(file);
    std::string text = folder.Read("vorlan.ini");
    EXPECT_NE(text.find("remindForLoad=1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("give_BlockSize=256\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("remindforload"), std::string::npos) << text;
}

TEST_F(SettingsTest, SavingWritesTheKeysInTheirOrderAndLeavesTheDialUpSectionAlone)
{
    folder.Write("vorlan.ini", "[RAS]\nusername=someone\npassword=secret\n");
    LoadSettings(SettingsFile());
    Settings().dial_who = "me";
    TProfileFile file = SettingsFile();
    SaveSettings(file);
    EXPECT_EQ(folder.Read("vorlan.ini"),
              "[RAS]\nusername=someone\npassword=secret\n"
              "[setup]\nminVolumn=10\nmaxSiteTime=60\nmaxFileSize=500\nmaxTotalTime=10\ngive_waitTime=2500\n"
              "give_BlockSize=4096\nremindForLoad=0\nremindFetchOver=0\nUSE_browser=1\nUSE_lan=1\ndial_who=me\n"
              "[default]\nidefaultDepth=2\niDefaultFetchMaxTime=10\nbdefaultCross=0\nbdebugVersion=0\n");
}

TEST_F(SettingsTest, ValuesThatAreNoNumbersGiveTheDefault)
{
    folder.Write("vorlan.ini", "[setup]\nminVolumn=lots\nmaxSiteTime=\nUSE_browser=yes\n[default]\nidefaultDepth=0x\n");
    LoadSettings(SettingsFile());
    EXPECT_EQ(Settings().minVolumn, 10);
    EXPECT_EQ(Settings().maxSiteTime, 60);
    EXPECT_TRUE(Settings().USE_browser);
    EXPECT_EQ(Settings().idefaultDepth, 2);
}

TEST_F(SettingsTest, GarbageFilesGiveWhatCanBeReadAndKeepTheirOtherLines)
{
    std::string garbage = std::string("\x00\x01\xfe\n", 4) + "\xff\xfe=\x80\n[setup\nminVolumn=3\nmaxSiteTime=x\n";
    folder.Write("vorlan.ini", garbage);
    LoadSettings(SettingsFile());
    EXPECT_EQ(Settings().minVolumn, 3);  // a header without "]" still names its section
    EXPECT_EQ(Settings().maxSiteTime, 60);
    TProfileFile file = SettingsFile();
    SaveSettings(file);
    std::string text = folder.Read("vorlan.ini");
    EXPECT_EQ(text.substr(0, 11), garbage.substr(0, 11));
    EXPECT_NE(text.find("[setup\nminVolumn=3\nmaxSiteTime=60\nmaxFileSize=500\n"), std::string::npos) << text;
}

}  // namespace
