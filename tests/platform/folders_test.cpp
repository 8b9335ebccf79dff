#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <pwd.h>
#include <unistd.h>

#include "platform/folders.h"
#include "support/tempfolder.h"

namespace {

// Sets (or with nullopt removes) an environment variable for one test and puts it back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name(name)
    {
        if (const char* old = std::getenv(name))
            saved = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
        ForgetFolders();
    }
    ~ScopedVariable()
    {
        if (saved)
            ::setenv(name, saved->c_str(), 1);
        else
            ::unsetenv(name);
        ForgetFolders();
    }

private:
    const char* name;
    std::optional<std::string> saved;
};

TEST(InstalledPrefix, ABinFolderBesideShareZanvikIsAnInstalledProgram)
{
    TempFolder prefix(TempFolder::Use::Plain);
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share/zanvik/system");
    EXPECT_EQ(InstalledFilesFolderFor(prefix / "bin/"), prefix / "share/zanvik/");
    EXPECT_EQ(InstalledFilesFolderFor(prefix / "bin"), prefix / "share/zanvik/");
}

TEST(InstalledPrefix, ABuildFolderIsNot)
{
    TempFolder build(TempFolder::Use::Plain);
    // The build draws the desktop icon into share/icons, but has no share/zanvik.
    std::filesystem::create_directories(build / "bin");
    std::filesystem::create_directories(build / "share/icons/hicolor");
    EXPECT_EQ(InstalledFilesFolderFor(build / "bin/"), "");
    // share/zanvik beside a folder of another name is no prefix either.
    std::filesystem::create_directories(build / "share/zanvik");
    std::filesystem::create_directories(build / "programs");
    EXPECT_EQ(InstalledFilesFolderFor(build / "programs/"), "");
    // Nor is a plain file of that name.
    TempFolder other(TempFolder::Use::Plain);
    other.Write("share/zanvik", "not a folder");
    std::filesystem::create_directories(other / "bin");
    EXPECT_EQ(InstalledFilesFolderFor(other / "bin/"), "");
}

TEST(InstalledPrefix, TheProgramRunFromTheBuildKeepsItsOwnFolder)
{
    ScopedVariable home("ZANVIK_HOME", std::nullopt);
    EXPECT_EQ(InstalledFilesFolder(), "");
    EXPECT_EQ(ProgramFolder(), std::string(ZANVIK_BIN_DIR) + "/");
}

TEST(UserFolder, FollowsXdgDataHomeElseTheHomeFolder)
{
    ScopedVariable home("HOME", "/home/lin");
    {
        ScopedVariable data("XDG_DATA_HOME", "/srv/data/lin");
        EXPECT_EQ(UserProgramFolder(), "/srv/data/lin/zanvik/");
    }
    {
        ScopedVariable data("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(UserProgramFolder(), "/home/lin/.local/share/zanvik/");
    }
    {
        // A relative value is to be ignored, by the base directory rules.
        ScopedVariable data("XDG_DATA_HOME", "relative/data");
        EXPECT_EQ(UserProgramFolder(), "/home/lin/.local/share/zanvik/");
    }
}

TEST(UserFolder, WithoutHomeTheAccountsHomeFolderIsUsed)
{
    ScopedVariable data("XDG_DATA_HOME", std::nullopt);
    ScopedVariable home("HOME", std::nullopt);
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(UserProgramFolder(), std::string(user->pw_dir) + "/.local/share/zanvik/");
}

}  // namespace
