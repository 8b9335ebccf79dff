#include <gtest/gtest.h>

#include "core/settings.h"
#include "core/startup.h"
#include "platform/registry.h"
#include "support/tempfolder.h"

namespace {

const char* const kInternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char* const kParadoxInit = "SOFTWARE\\Borland\\Database Engine\\Settings\\DRIVERS\\PARADOX\\INIT";

TEST(Startup, TheUserAgentNamesVersion4RightAfterTheSlash)
{
    EXPECT_TRUE(UserAgentIsVersion4("Mozilla/4.0 (compatible; MSIE 4.01; Windows 98)"));
    EXPECT_FALSE(UserAgentIsVersion4("Mozilla/3.0 (compatible; MSIE 4.0)"));
    EXPECT_FALSE(UserAgentIsVersion4("Mozilla/ 4.0 (x)"));
    EXPECT_FALSE(UserAgentIsVersion4("Mozilla/x4 (x)"));
    EXPECT_FALSE(UserAgentIsVersion4("Mozilla (compatible; Mozilla/4.0)"));  // the slash must come before "("
    EXPECT_FALSE(UserAgentIsVersion4(""));
    EXPECT_TRUE(UserAgentIsVersion4("Lynx/4"));
}

TEST(Startup, TheBrowserCheckReadsTheRegistryOnlyWhenTheBrowserIsBuiltIn)
{
    TempFolder folder;
    TRegistry registry;
    registry.OpenKey(kInternetSettings, true);
    registry.WriteString("User Agent", "Mozilla/4.0 (compatible; MSIE 4.01)");
    EXPECT_TRUE(DetectIe4Browser(true));
    EXPECT_FALSE(DetectIe4Browser(false));
    registry.WriteInteger("User Agent", 4);
    EXPECT_FALSE(DetectIe4Browser(true));
}

TEST(Startup, TheLanguageDriverIsSetUnlessItIsOneOfTheTwoKnownValues)
{
    TempFolder folder;
    FixLanguageDriver();
    TRegistry registry(RegistryRoot::LocalMachine);
    ASSERT_TRUE(registry.OpenKey(kParadoxInit, false));
    EXPECT_EQ(registry.ReadString("LANGDRIVER"), "DBWINUS0");

    registry.WriteString("LANGDRIVER", "TAIWAN");
    FixLanguageDriver();
    EXPECT_EQ(registry.ReadString("LANGDRIVER"), "TAIWAN");
    registry.WriteString("LANGDRIVER", "ascii");
    FixLanguageDriver();
    EXPECT_EQ(registry.ReadString("LANGDRIVER"), "DBWINUS0");
}

TEST(Startup, TheFoundationLoadsAndWritesBackTheSettings)
{
    TempFolder folder;
    folder.Write("vorlan.ini", "[setup]\nmaxFileSize=3\n");
    Startup() = StartupState();
    StartFoundation(false);
    EXPECT_TRUE(Startup().started);
    EXPECT_EQ(Settings().maxFileSize, 3072);
    Settings().minVolumn = 42;
    FinishFoundation();
    TProfileFile file(folder / "vorlan.ini");
    EXPECT_EQ(file.ReadInteger("setup", "minVolumn", 0), 42);
    EXPECT_EQ(file.ReadInteger("setup", "maxFileSize", 0), 3);
    Settings() = TSettings();
    Startup() = StartupState();
}

TEST(Startup, NothingIsWrittenWhenTheStartNeverHappened)
{
    TempFolder folder;
    Startup() = StartupState();
    FinishFoundation();
    EXPECT_EQ(folder.Read("vorlan.ini"), "");
}

}  // namespace
