#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/installedfiles.h"
#include "core/paths.h"
#include "support/tempfolder.h"

namespace fs = std::filesystem;

namespace {

class InstalledFiles : public ::testing::Test {
protected:
    InstalledFiles()
    {
        installed.Write("system/down.bmp", "BM-down");
        installed.Write("vorlan.html", "<html>help</html>");
        installed.Write("撥號網路.txt", "dial-up help");
        installed.Write("tables/favor.db", "shipped phone book");
        installed.Write("tables/kind.db", "shipped categories");
    }

    void Copy() { CopyInstalledFiles(installed.Path(), user.Path() + "zanvik/"); }
    std::string User(const std::string& name) const { return user / ("zanvik/" + name); }

    // Moves a file's time by the given seconds, as an installation or an edit would.
    static void Age(const std::string& path, int seconds)
    {
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(seconds));
    }

    TempFolder installed{TempFolder::Use::Plain};
    TempFolder user{TempFolder::Use::Plain};
};

TEST_F(InstalledFiles, TheFirstStartMakesTheFolderAndCopiesEveryFileWithItsTime)
{
    Age(installed / "system/down.bmp", -3600);
    Copy();
    std::vector<std::pair<std::string, std::string>> copies{
        {"system/down.bmp", "system/down.bmp"}, {"vorlan.html", "vorlan.html"}, {"撥號網路.txt", "撥號網路.txt"},
        {"tables/favor.db", "data/favor.db"},   {"tables/kind.db", "data/kind.db"}};
    for (const auto& [from, to] : copies) {
        EXPECT_EQ(ReadFile(User(to)), installed.Read(from)) << to;
        EXPECT_EQ(fs::last_write_time(User(to)), fs::last_write_time(installed / from)) << to;
    }
    EXPECT_FALSE(fs::exists(User("tables")));
    // The user may change and replace the copies, whatever the installed files allow.
    EXPECT_NE(fs::status(User("data/favor.db")).permissions() & fs::perms::owner_write, fs::perms::none);
    // No half-made copy is left beside the files.
    for (const auto& entry : fs::recursive_directory_iterator(user.Path()))
        EXPECT_EQ(entry.path().string().find(".copy"), std::string::npos) << entry.path();
}

TEST_F(InstalledFiles, ReadOnlyFilesAreCopiedAgainOnlyWhenTheInstalledOnesAreNewer)
{
    Copy();
    // An older or equal installed file leaves the copy alone.
    WriteFile(User("vorlan.html"), "kept");
    fs::last_write_time(User("vorlan.html"), fs::last_write_time(installed / "vorlan.html"));
    Copy();
    EXPECT_EQ(ReadFile(User("vorlan.html")), "kept");

    installed.Write("vorlan.html", "<html>newer help</html>");
    Age(installed / "vorlan.html", 60);
    installed.Write("system/down.bmp", "BM-redrawn");
    Age(installed / "system/down.bmp", 60);
    Copy();
    EXPECT_EQ(ReadFile(User("vorlan.html")), "<html>newer help</html>");
    EXPECT_EQ(ReadFile(User("system/down.bmp")), "BM-redrawn");
    EXPECT_EQ(ReadFile(User("撥號網路.txt")), "dial-up help");
}

TEST_F(InstalledFiles, TheUsersTablesAreNeverReplacedButAMissingOneIsShippedAgain)
{
    Copy();
    WriteFile(User("data/favor.db"), "the user's own phone book");
    Age(User("data/favor.db"), -86400);
    installed.Write("tables/favor.db", "a newer shipped phone book");
    Age(installed / "tables/favor.db", 3600);
    fs::remove(User("data/kind.db"));
    WriteFile(User("vorlan.ini"), "[setup]\nminVolumn=99\n");
    Copy();
    EXPECT_EQ(ReadFile(User("data/favor.db")), "the user's own phone book");
    EXPECT_EQ(ReadFile(User("data/kind.db")), "shipped categories");
    EXPECT_EQ(ReadFile(User("vorlan.ini")), "[setup]\nminVolumn=99\n");
}

TEST_F(InstalledFiles, InstalledIntoTheUsersFolderItselfOnlyTheMissingTablesAreMade)
{
    // A prefix of ~/.local: share/zanvik/ is the program folder, with the user's files in it.
    installed.Write("data/favor.db", "the user's own phone book");
    installed.Write("wwwData/127.0.0.1/index.html", "a stored page");
    CopyInstalledFiles(installed.Path(), installed.Path());
    EXPECT_EQ(installed.Read("data/favor.db"), "the user's own phone book");
    EXPECT_EQ(installed.Read("data/kind.db"), "shipped categories");
    EXPECT_EQ(installed.Read("wwwData/127.0.0.1/index.html"), "a stored page");
    EXPECT_EQ(installed.Read("system/down.bmp"), "BM-down");
}

TEST_F(InstalledFiles, AFolderThatCannotBeMadeIsNamedInTheError)
{
    user.Write("zanvik", "a plain file where the program folder should be");
    try {
        Copy();
        FAIL() << "a copy into a plain file was taken as done";
    } catch (const EInOutError& error) {
        EXPECT_NE(std::string(error.what()).find(user / "zanvik/"), std::string::npos) << error.what();
    }
    EXPECT_EQ(user.Read("zanvik"), "a plain file where the program folder should be");
}

TEST_F(InstalledFiles, AMissingInstallationIsNamedInTheError)
{
    std::string missing = installed / "gone/";
    try {
        CopyInstalledFiles(missing, user.Path());
        FAIL() << "a missing installation was taken as copied";
    } catch (const EInOutError& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
}

}  // namespace
