#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/paths.h"
#include "support/tempfolder.h"

namespace {

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(Paths, JoinPathAddsOneSlashOnly)
{
    EXPECT_EQ(JoinPath("/opt/zanvik/", "vorlan.ini"), "/opt/zanvik/vorlan.ini");
    EXPECT_EQ(JoinPath("/opt/zanvik", "vorlan.ini"), "/opt/zanvik/vorlan.ini");
}

TEST(Paths, ProgramFolderFollowsZanvikHomeAndEndsInASlash)
{
    TempFolder folder;
    EXPECT_EQ(ProgramFolder(), folder.Path());
    EXPECT_EQ(ProgramFolder().back(), '/');
}

TEST(Paths, ForceFolderOfCreatesTheMissingLevelsOnly)
{
    TempFolder folder(TempFolder::Use::Plain);
    std::string file = folder / "one/two/three/page.htm";
    ForceFolderOf(folder / "one/x");
    ForceFolderOf(file);
    EXPECT_TRUE(IsFolder(folder / "one/two/three"));
    EXPECT_FALSE(FolderExists(file));
    ForceFolderOf("no-slash-at-all");
    EXPECT_FALSE(FolderExists("no-slash-at-all"));
}

TEST(Paths, APlainFileCountsAsAFolderSoNothingIsCreated)
{
    TempFolder folder(TempFolder::Use::Plain);
    folder.Write("taken", "file");
    EXPECT_TRUE(FolderExists(folder / "taken"));
    EXPECT_TRUE(FolderExists(folder / "taken/"));
    ForceFolderOf(folder / "taken/page.htm");
    EXPECT_FALSE(IsFolder(folder / "taken"));
    EXPECT_THROW(ForceFolderOf(folder / "taken/deeper/page.htm"), EInOutError);
}

TEST(Paths, CopyFileIfExistsCopiesWholeFilesAndIgnoresMissingOnes)
{
    TempFolder folder(TempFolder::Use::Plain);
    std::string content("binary\0bytes\n", 13);
    folder.Write("source", content);
    folder.Write("target", "older and longer content");
    CopyFileIfExists(folder / "source", folder / "target");
    EXPECT_EQ(folder.Read("target"), content);
    CopyFileIfExists(folder / "missing", folder / "none");
    EXPECT_FALSE(FileExists(folder / "none"));
    EXPECT_EQ(FileSize(folder / "source"), 13);
    EXPECT_EQ(FileSize(folder / "missing"), -1);
}

}  // namespace
