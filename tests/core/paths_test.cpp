#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "core/paths.h"
#include "support/tempfolder.h"
#include "support/undeletablefile.h"

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

TEST(Paths, ReadWholeFileReadsRegularFilesOnlyAndNeverWaitsOnAPipe)
{
    TempFolder folder(TempFolder::Use::Plain);
    std::string big(300000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 % 251);
    folder.Write("big", big);
    folder.Write("empty", "");
    std::string content = "left over";
    ASSERT_TRUE(ReadWholeFile(folder / "big", content));
    EXPECT_EQ(content, big);
    EXPECT_TRUE(ReadWholeFile(folder / "empty", content));
    EXPECT_EQ(content, "");

    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((folder / "folder").c_str(), 0755), 0);
    for (const char* name : {"missing", "folder", "pipe"}) {
        content = "left over";
        EXPECT_FALSE(ReadWholeFile(folder / name, content)) << name;
        EXPECT_EQ(content, "") << name;
    }
}

TEST(Paths, RemoveTreeRemovesLinksAsLinksAndLeavesTheirTargets)
{
    TempFolder folder(TempFolder::Use::Plain);
    folder.Write("tree/a.htm", "a");
    folder.Write("tree/sub/deeper/b.htm", "b");
    folder.Write("outside/keep.htm", "keep");
    std::filesystem::create_directory_symlink(folder / "outside", folder / "tree/sub/to-folder");
    std::filesystem::create_symlink(folder / "outside/keep.htm", folder / "tree/to-file");
    std::filesystem::create_symlink(folder / "nowhere", folder / "tree/dangling");

    EXPECT_EQ(RemoveTree(folder / "tree"), 0);
    EXPECT_FALSE(FolderExists(folder / "tree"));
    EXPECT_EQ(folder.Read("outside/keep.htm"), "keep");

    // A link given itself goes as a link.
    std::filesystem::create_directory_symlink(folder / "outside", folder / "link");
    EXPECT_EQ(RemoveTree(folder / "link"), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "link"));
    EXPECT_EQ(folder.Read("outside/keep.htm"), "keep");

    EXPECT_EQ(RemoveTree(folder / "never-there"), 0);
}

TEST(Paths, RemoveTreeGoesOnPastWhatCannotBeRemovedAndCountsIt)
{
    TempFolder folder(TempFolder::Use::Plain);
    folder.Write("tree/a.htm", "a");
    folder.Write("tree/locked/stays.htm", "stays");
    folder.Write("tree/z/b.htm", "b");
    UndeletableFile locked(folder / "tree/locked/stays.htm");
    if (!locked.Made())
        GTEST_SKIP() << "no file can be made undeletable here";

    // The file counts once; the folders kept around it do not.
    EXPECT_EQ(RemoveTree(folder / "tree"), 1);
    EXPECT_EQ(folder.Read("tree/locked/stays.htm"), "stays");
    EXPECT_FALSE(FolderExists(folder / "tree/a.htm"));
    EXPECT_FALSE(FolderExists(folder / "tree/z"));
}

}  // namespace
