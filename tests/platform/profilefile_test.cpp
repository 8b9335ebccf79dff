#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/profilefile.h"
#include "support/tempfolder.h"

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string path = folder / "test.ini";
};

TEST_F(ProfileFileTest, SectionsAndKeysMatchWithoutRegardToCase)
{
    folder.Write("test.ini", "[Setup]\nMinVolumn=7\n");
    TProfileFile file(path);
    EXPECT_EQ(file.ReadString("setup", "minvolumn", "x"), "7");
    EXPECT_EQ(file.ReadString("SETUP", "MINVOLUMN", "x"), "7");
    file.WriteString("SETUP", "minVOLUMN", "8");
    EXPECT_EQ(folder.Read("test.ini"), "[Setup]\nminVOLUMN=8\n");
}

TEST_F(ProfileFileTest, NewKeysGoAfterTheLastEntryOfTheirSection)
{
    folder.Write("test.ini", "[a]\nx=1\n\n[b]\ny=2\n");
    TProfileFile file(path);
    file.WriteString("a", "z", "3");
    file.WriteString("c", "w", "4");
    file.WriteString("b", "v", "5");
    EXPECT_EQ(folder.Read("test.ini"), "[a]\nx=1\nz=3\n\n[b]\ny=2\nv=5\n[c]\nw=4\n");
    EXPECT_EQ(file.ReadSection("a"), (std::vector<std::string>{"x", "z"}));
    EXPECT_EQ(file.ReadSections(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(ProfileFileTest, DeleteKeyAndEraseSectionLeaveTheRestAsItWas)
{
    folder.Write("test.ini", "; kept comment\n[a]\nx=1\ny=2\n[b]\nz=3\n");
    TProfileFile file(path);
    file.DeleteKey("A", "X");
    EXPECT_EQ(folder.Read("test.ini"), "; kept comment\n[a]\ny=2\n[b]\nz=3\n");
    file.EraseSection("a");
    EXPECT_EQ(folder.Read("test.ini"), "; kept comment\n[b]\nz=3\n");
    EXPECT_FALSE(file.ValueExists("a", "y"));
    file.DeleteKey("nowhere", "nothing");
    EXPECT_EQ(folder.Read("test.ini"), "; kept comment\n[b]\nz=3\n");
}

TEST_F(ProfileFileTest, IntegersFollowTheDecimalAndHexadecimalRules)
{
    folder.Write("test.ini",
                 "[n]\ndec=42\nneg=-5\nhex=0x1F\nHEX=0X10\nshort=0x\nword=abc\nmixed=12abc\nblank=\nspaced= 9 \n"
                 "big=99999999999\n");
    TProfileFile file(path);
    EXPECT_EQ(file.ReadInteger("n", "dec", 0), 42);
    EXPECT_EQ(file.ReadInteger("n", "neg", 0), -5);
    EXPECT_EQ(file.ReadInteger("n", "hex", 0), 31);
    EXPECT_EQ(file.ReadInteger("n", "short", 77), 77);  // "0x" is too short to be hexadecimal
    EXPECT_EQ(file.ReadInteger("n", "word", 77), 77);
    EXPECT_EQ(file.ReadInteger("n", "mixed", 77), 77);
    EXPECT_EQ(file.ReadInteger("n", "blank", 77), 77);
    EXPECT_EQ(file.ReadInteger("n", "spaced", 77), 9);
    EXPECT_EQ(file.ReadInteger("n", "big", 77), 77);
    EXPECT_EQ(file.ReadInteger("n", "missing", 77), 77);
    EXPECT_TRUE(file.ReadBool("n", "dec", false));
    EXPECT_FALSE(file.ReadBool("n", "missing", false));
    EXPECT_TRUE(file.ReadBool("n", "word", true));
}

TEST_F(ProfileFileTest, EveryReadSeesTheFileAsItIsNow)
{
    TProfileFile file(path);
    EXPECT_EQ(file.ReadString("s", "k", "none"), "none");
    folder.Write("test.ini", "[s]\nk=1\n");
    EXPECT_EQ(file.ReadString("s", "k", "none"), "1");
    folder.Write("test.ini", "[s]\nk=2\n");
    EXPECT_EQ(file.ReadString("s", "k", "none"), "2");
}

TEST_F(ProfileFileTest, BadFilesReadWhatCanBeReadAndWritesKeepEveryOtherLine)
{
    std::string longLine(100 * 1024, 'q');
    std::string garbage("\x01\xff\x00\x7f[x", 6);
    std::string original = garbage + "\n[a]\nno equals here\n[broken\nk=in broken\n[a]\nk=second a\n[b]\ndup=1\ndup=2\n"
                         + longLine + "\nlast=no newline";
    folder.Write("test.ini", original);
    TProfileFile file(path);
    EXPECT_EQ(file.ReadString("broken", "k", ""), "in broken");
    EXPECT_EQ(file.ReadString("a", "k", "none"), "none");  // the first [a] counts, and it has no k
    EXPECT_EQ(file.ReadString("b", "dup", ""), "1");
    EXPECT_EQ(file.ReadString("b", "last", ""), "no newline");
    file.WriteString("b", "dup", "changed");
    std::string expected = original;
    expected.replace(expected.find("dup=1"), 5, "dup=changed");
    EXPECT_EQ(folder.Read("test.ini"), expected);
    file.WriteString("b", "new", "v");
    EXPECT_EQ(folder.Read("test.ini"), expected + "\nnew=v\n");
}

TEST_F(ProfileFileTest, EmptyFilesAndValuesWithLineBreaks)
{
    folder.Write("test.ini", "");
    TProfileFile file(path);
    EXPECT_TRUE(file.ReadSections().empty());
    file.WriteString("s", "k", "one\r\ntwo\n[evil]\nx=1");
    EXPECT_FALSE(file.SectionExists("evil"));
    EXPECT_EQ(file.ReadString("s", "k", ""), "one  two [evil] x=1");
}

TEST_F(ProfileFileTest, QuotedValuesAreReadWithoutTheirQuotes)
{
    folder.Write("test.ini", "[s]\nq=\"quoted value\"\nhalf=\"open\n");
    TProfileFile file(path);
    EXPECT_EQ(file.ReadString("s", "q", ""), "quoted value");
    EXPECT_EQ(file.ReadString("s", "half", ""), "\"open");
}

TEST_F(ProfileFileTest, StructuresCarryTheirChecksum)
{
    TProfileFile file(path);
    const unsigned char handle[4] = {0x01, 0x00, 0x00, 0x00};
    file.WriteStruct("retvalue", "hRasConn", handle, sizeof handle);
    EXPECT_EQ(file.ReadString("retvalue", "hRasConn", ""), "0100000001");
    const unsigned char bytes[3] = {0xFF, 0x80, 0x02};
    EXPECT_EQ(StructText(bytes, 3), "FF800281");  // 0xFF + 0x80 + 0x02 = 0x181

    unsigned char read[4] = {};
    EXPECT_TRUE(file.ReadStruct("retvalue", "hRasConn", read, sizeof read));
    EXPECT_EQ(read[0], 1);
    unsigned char wrongSize[2] = {};
    EXPECT_FALSE(file.ReadStruct("retvalue", "hRasConn", wrongSize, sizeof wrongSize));
    file.WriteString("retvalue", "bad", "0100000002");
    EXPECT_FALSE(file.ReadStruct("retvalue", "bad", read, sizeof read));
    file.WriteString("retvalue", "nothex", "01000000ZZ");
    EXPECT_FALSE(file.ReadStruct("retvalue", "nothex", read, sizeof read));
}

TEST_F(ProfileFileTest, OwnerOnlyFilesAreCreatedAndKeptPrivate)
{
    TProfileFile file(path, TProfileFile::Access::OwnerOnly);
    file.WriteString("RAS", "password", "secret");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ::chmod(path.c_str(), 0644);
    file.WriteString("RAS", "password", "other");
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(ProfileFileTest, AFileThatCannotBeWrittenRaisesWithItsName)
{
    folder.Write("plainfile", "x");
    TProfileFile file(folder / "plainfile/test.ini");
    try {
        file.WriteString("s", "k", "v");
        FAIL() << "the write should have failed";
    } catch (const EProfileWrite& error) {
        EXPECT_NE(std::string(error.what()).find(folder / "plainfile/test.ini"), std::string::npos) << error.what();
    }
    EXPECT_EQ(file.ReadString("s", "k", "default"), "default");
}

TEST_F(ProfileFileTest, NamesWithoutAFolderLiveInTheWindowsFolder)
{
    TProfileFile file("autodial.ini");
    file.WriteString("retValue", "processing", "1");
    EXPECT_EQ(folder.Read("windows/autodial.ini"), "[retValue]\nprocessing=1\n");
}

TEST_F(ProfileFileTest, TwoProcessesWritingAtOnceLoseNothing)
{
    const int writes = 150;
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            TProfileFile file(path);
            for (int i = 0; i < writes; ++i)
                file.WriteString("shared", "p" + std::to_string(child) + "_" + std::to_string(i), std::to_string(i));
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    TProfileFile file(path);
    EXPECT_EQ(file.ReadSection("shared").size(), 2u * writes);
    for (int child = 0; child < 2; ++child)
        for (int i = 0; i < writes; ++i)
            ASSERT_EQ(file.ReadString("shared", "p" + std::to_string(child) + "_" + std::to_string(i), "lost"),
                      std::to_string(i));
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().filename().string().rfind(".profile-", 0), std::string::npos)
            << "temporary file left: " << entry.path();
}

TEST_F(ProfileFileTest, NewKeysAreAppendedOnlyWhileTheFileIsAsLeftAndTheirSectionIsLast)
{
    TProfileFile file(path);
    file.AddNewKey("log", "<1>", "one");
    struct stat first {};
    ASSERT_EQ(::stat(path.c_str(), &first), 0);
    file.AddNewKey("LOG", "<2>", "two\nlines");
    struct stat second {};
    ASSERT_EQ(::stat(path.c_str(), &second), 0);
    EXPECT_EQ(second.st_ino, first.st_ino) << "the file was rewritten instead of appended to";
    EXPECT_EQ(folder.Read("test.ini"), "[log]\n<1>=one\n<2>=two lines\n");

    // Someone else's section after it: the next key still goes into its own section.
    TProfileFile(path).WriteString("other", "k", "v");
    file.AddNewKey("log", "<3>", "three");
    EXPECT_EQ(folder.Read("test.ini"), "[log]\n<1>=one\n<2>=two lines\n<3>=three\n[other]\nk=v\n");
    file.AddNewKey("log", "<4>", "four");
    EXPECT_EQ(file.ReadString("log", "<4>", ""), "four");

    // A file changed behind the writer's back is read again, not appended to blindly.
    folder.Write("test.ini", "[log]\n<1>=edited\n");
    file.AddNewKey("log", "<5>", "five");
    EXPECT_EQ(folder.Read("test.ini"), "[log]\n<1>=edited\n<5>=five\n");
}

TEST_F(ProfileFileTest, AWriteGivesUpOnALockHeldTooLongAndNamesTheFileAndTheHolder)
{
    folder.Write("test.ini", "[s]\nk=1\n");
    int held = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    SetProfileLockWaitForTest(std::chrono::milliseconds(200));
    auto write = std::async(std::launch::async, [this] {
        try {
            TProfileFile(path).WriteString("s", "k", "2");
            return std::string("written");
        } catch (const EProfileWrite& error) {
            return std::string(error.what());
        }
    });
    bool ended = write.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
    ::flock(held, LOCK_UN);
    ::close(held);
    SetProfileLockWaitForTest(ProfileLockWait);
    ASSERT_TRUE(ended) << "the write waited for the lock without limit";
    std::string message = write.get();
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("程序 " + std::to_string(::getpid())), std::string::npos) << message;
    EXPECT_EQ(folder.Read("test.ini"), "[s]\nk=1\n");
}

}  // namespace
