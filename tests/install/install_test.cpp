// The installed program: `cmake --install` into a temporary prefix, then the installed
// programs run as a fresh user would run them, and the .deb is made and read back.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "core/paths.h"
#include "platform/process.h"
#include "support/nginxserver.h"
#include "support/pollwait.h"
#include "support/tempfolder.h"

namespace fs = std::filesystem;

namespace {

const std::string kBuild = ZANVIK_BUILD_DIR;

// Runs a command with its output (both streams) into outputFile; gives the exit code.
int RunCommand(const std::vector<std::string>& command, const std::string& outputFile, std::string* output = nullptr)
{
    std::vector<std::string> arguments{"-c", "exec \"$@\" >\"$0\" 2>&1", outputFile};
    arguments.insert(arguments.end(), command.begin(), command.end());
    int code = WaitProgram(SpawnProgram("/bin/sh", arguments));
    if (output)
        *output = ReadFile(outputFile);
    return code;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Every file below a folder with its size and time, to see that nothing was written there.
std::set<std::string> Snapshot(const std::string& folder)
{
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::string line = entry.path().string();
        if (entry.is_regular_file())
            line += " " + std::to_string(entry.file_size()) + " " +
                    std::to_string(entry.last_write_time().time_since_epoch().count());
        files.insert(line);
    }
    return files;
}

std::vector<std::string> BuiltPictures()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kBuild + "/bin/system"))
        names.push_back(entry.path().filename().string());
    return names;
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix = std::make_unique<TempFolder>(TempFolder::Use::Plain);
        logs = std::make_unique<TempFolder>(TempFolder::Use::Plain);
        installCode = RunCommand({CMAKE_COMMAND, "--install", kBuild, "--prefix", prefix->Path()}, *logs / "install.txt",
                          &installOutput);
    }
    static void TearDownTestSuite()
    {
        prefix.reset();
        logs.reset();
    }

    void SetUp() override { ASSERT_EQ(installCode, 0) << installOutput; }

    std::string Prefix(const std::string& name) const { return *prefix / name; }
    std::string UserFolder(const std::string& name = "") const { return home / (".local/share/zanvik/" + name); }

    // The installed program as a user without any Zanvik setting would start it.
    std::vector<std::string> AsUser(const std::string& program, const std::vector<std::string>& arguments = {}) const
    {
        std::vector<std::string> command{"/usr/bin/env",
                                         "-u", "ZANVIK_HOME", "-u", "ZANVIK_WINDIR",
                                         "-u", "XDG_DATA_HOME", "-u", "XDG_CONFIG_HOME",
                                         "HOME=" + home.Path(), "QT_QPA_PLATFORM=offscreen",
                                         Prefix("bin/" + program)};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return command;
    }

    static std::unique_ptr<TempFolder> prefix;
    static std::unique_ptr<TempFolder> logs;
    static int installCode;
    static std::string installOutput;
    TempFolder home{TempFolder::Use::Plain};
    TempFolder work{TempFolder::Use::Plain};
};

std::unique_ptr<TempFolder> Installed::prefix;
std::unique_ptr<TempFolder> Installed::logs;
int Installed::installCode = -1;
std::string Installed::installOutput;

int PngSide(const std::string& file, int offset)
{
    std::string bytes = ReadFile(file);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return -1;
    auto byte = [&](int i) { return static_cast<unsigned char>(bytes[offset + i]); };
    return (byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
}

TEST_F(Installed, EveryFileLandsInItsPlace)
{
    for (const char* program : {"vorlan", "dial", "vorlan-grab"})
        EXPECT_EQ(::access(Prefix(std::string("bin/") + program).c_str(), X_OK), 0) << program;
    for (const std::string& picture : BuiltPictures())
        EXPECT_EQ(ReadFile(Prefix("share/zanvik/system/" + picture)), ReadFile(kBuild + "/bin/system/" + picture))
            << picture;
    EXPECT_GE(BuiltPictures().size(), 16u);
    for (const char* table : {"kind.db", "favor.db"})
        EXPECT_EQ(ReadFile(Prefix(std::string("share/zanvik/tables/") + table)).substr(0, 15), "SQLite format 3") << table;
    for (const char* help : {"vorlan.html", "撥號網路.txt"})
        EXPECT_EQ(ReadFile(Prefix(std::string("share/zanvik/") + help)),
                  ReadFile(std::string(ZANVIK_SOURCE_DIR) + "/resources/help/" + help))
            << help;
    for (int side : {48, 128, 256}) {
        std::string icon = Prefix("share/icons/hicolor/" + std::to_string(side) + "x" + std::to_string(side) + "/apps/zanvik.png");
        EXPECT_EQ(PngSide(icon, 16), side) << icon;
        EXPECT_EQ(PngSide(icon, 20), side) << icon;
    }
    EXPECT_TRUE(FileExists(Prefix("share/applications/zanvik.desktop")));
    EXPECT_TRUE(FileExists(Prefix("share/man/man1/vorlan-grab.1")));
}

TEST_F(Installed, VorlanGrabGrabsASiteIntoTheUsersOwnFolder)
{
    if (!NginxServer::Available())
        GTEST_SKIP() << "nginx is not installed";
    TempFolder site(TempFolder::Use::Plain);
    site.Write("index.html", "<html><a href=\"a.html\">a</a></html>");
    site.Write("a.html", "<html>page a</html>");
    NginxServer nginx(site.Path());
    ASSERT_TRUE(nginx.Running()) << nginx.Error();
    auto before = Snapshot(prefix->Path());

    std::string output;
    EXPECT_EQ(RunCommand(AsUser("vorlan-grab", {"--depth", "1", nginx.Url("/index.html")}), work / "grab.txt", &output), 0)
        << output;
    EXPECT_EQ(ReadFile(UserFolder("wwwData/127.0.0.1/index.html")), site.Read("index.html")) << output;
    EXPECT_EQ(ReadFile(UserFolder("wwwData/127.0.0.1/a.html")), "<html>page a</html>");
    EXPECT_TRUE(FileExists(UserFolder("logfile.txt")));
    EXPECT_EQ(ReadFile(UserFolder("data/kind.db")), ReadFile(Prefix("share/zanvik/tables/kind.db")));
    EXPECT_EQ(Snapshot(prefix->Path()), before) << "the installed files were written to";
}

TEST_F(Installed, VorlanStartsFindsItsPicturesAndTablesAndEndsOnSigterm)
{
    auto before = Snapshot(prefix->Path());
    std::vector<std::string> command{"/bin/sh", "-c", "exec \"$@\" 2>\"$0\"", work / "stderr.txt"};
    for (const std::string& word : AsUser("vorlan"))
        command.push_back(word);
    pid_t pid = SpawnProgram(command[0], {command.begin() + 1, command.end()});
    ASSERT_GT(pid, 0);
    int exitCode = -2;
    ASSERT_TRUE(PollUntil([&] { return FileExists(UserFolder("logfile.txt")) || !ProgramRunning(pid, &exitCode); }));
    ASSERT_EQ(exitCode, -2) << "vorlan ended by itself: " << work.Read("stderr.txt");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let the message loop start
    ::kill(pid, SIGTERM);
    ASSERT_TRUE(PollUntil([&] { return !ProgramRunning(pid, &exitCode); }));
    // A missing phone book or category table would have stopped it with code 1.
    EXPECT_EQ(exitCode, 0) << work.Read("stderr.txt");

    for (const std::string& picture : BuiltPictures())
        EXPECT_EQ(ReadFile(UserFolder("system/" + picture)), ReadFile(Prefix("share/zanvik/system/" + picture)))
            << picture;
    EXPECT_TRUE(FileExists(UserFolder("data/station.db")));
    EXPECT_TRUE(FileExists(UserFolder("data/favor.db")));
    EXPECT_TRUE(Contains(ReadFile(UserFolder("vorlan.ini")), "[setup]"));
    EXPECT_TRUE(FileExists(UserFolder("vorlan.html")));
    EXPECT_EQ(Snapshot(prefix->Path()), before) << "the installed files were written to";
}

TEST_F(Installed, ALaterStartKeepsTheUsersFilesAndTakesNewerInstalledOnes)
{
    std::string output;
    // Without a URL vorlan-grab refuses at once, after filling the folder.
    ASSERT_EQ(RunCommand(AsUser("vorlan-grab"), work / "first.txt", &output), 64) << output;
    WriteFile(UserFolder("data/favor.db"), "the user's own phone book");
    WriteFile(UserFolder("vorlan.html"), "an older help document");
    fs::last_write_time(UserFolder("vorlan.html"), fs::last_write_time(Prefix("share/zanvik/vorlan.html")));
    WriteFile(UserFolder("撥號網路.txt"), "an older dial-up help");
    fs::last_write_time(UserFolder("撥號網路.txt"),
                        fs::last_write_time(Prefix("share/zanvik/撥號網路.txt")) - std::chrono::hours(24));

    ASSERT_EQ(RunCommand(AsUser("vorlan-grab"), work / "second.txt", &output), 64) << output;
    EXPECT_EQ(ReadFile(UserFolder("data/favor.db")), "the user's own phone book");
    EXPECT_EQ(ReadFile(UserFolder("vorlan.html")), "an older help document") << "an equal time counts as up to date";
    EXPECT_EQ(ReadFile(UserFolder("撥號網路.txt")), ReadFile(Prefix("share/zanvik/撥號網路.txt")));
}

TEST_F(Installed, TheDesktopEntryIsValidWithAChineseAndAnEnglishName)
{
    if (FindOnPath("desktop-file-validate").empty())
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    std::string output;
    EXPECT_EQ(RunCommand({"desktop-file-validate", Prefix("share/applications/zanvik.desktop")}, work / "validate.txt", &output), 0);
    EXPECT_EQ(output, "");
    std::string entry = ReadFile(Prefix("share/applications/zanvik.desktop"));
    EXPECT_TRUE(Contains(entry, "\nName=Zanvik\n"));
    EXPECT_TRUE(Contains(entry, "\nName[zh_TW]=Zanvik 離線閱讀\n"));
    EXPECT_TRUE(Contains(entry, "\nExec=vorlan\n"));
    EXPECT_TRUE(Contains(entry, "\nIcon=zanvik\n"));
}

TEST_F(Installed, TheManualPageOfVorlanGrabRendersWithoutWarnings)
{
    if (FindOnPath("groff").empty())
        GTEST_SKIP() << "groff is not installed";
    std::string output;
    EXPECT_EQ(RunCommand({"/usr/bin/env", "LC_ALL=C.UTF-8", "groff", "-k", "-man", "-Tutf8", "-ww", "-z",
                   Prefix("share/man/man1/vorlan-grab.1")},
                  work / "groff.txt", &output),
              0);
    EXPECT_EQ(output, "");
}

TEST_F(Installed, TheDebianPackageHoldsTheFilesAndNamesItsDependencies)
{
    if (FindOnPath("dpkg-deb").empty() || FindOnPath("dpkg-shlibdeps").empty())
        GTEST_SKIP() << "dpkg-deb or dpkg-shlibdeps is not installed (package dpkg-dev)";
    std::string output;
    ASSERT_EQ(RunCommand({CPACK_COMMAND, "-G", "DEB", "-B", work.Path(), "--config", kBuild + "/CPackConfig.cmake"},
                  work / "cpack.txt", &output),
              0)
        << output;
    std::string deb;
    for (const auto& entry : fs::directory_iterator(work.Path()))
        if (entry.path().extension() == ".deb")
            deb = entry.path().string();
    ASSERT_FALSE(deb.empty()) << output;

    std::string files;
    ASSERT_EQ(RunCommand({"dpkg-deb", "-c", deb}, work / "files.txt", &files), 0) << files;
    std::vector<std::string> expected{"./usr/bin/vorlan", "./usr/bin/dial", "./usr/bin/vorlan-grab",
                                      "./usr/share/zanvik/tables/kind.db", "./usr/share/zanvik/tables/favor.db",
                                      "./usr/share/zanvik/vorlan.html", "./usr/share/zanvik/撥號網路.txt",
                                      "./usr/share/applications/zanvik.desktop",
                                      "./usr/share/man/man1/vorlan-grab.1"};
    for (const std::string& picture : BuiltPictures())
        expected.push_back("./usr/share/zanvik/system/" + picture);
    for (const char* side : {"48x48", "128x128", "256x256"})
        expected.push_back(std::string("./usr/share/icons/hicolor/") + side + "/apps/zanvik.png");
    for (const std::string& file : expected)
        EXPECT_TRUE(Contains(files, " " + file + "\n")) << file;
    // Everything belongs to root, is readable by every user and writable by root alone.
    std::istringstream lines(files);
    for (std::string line; std::getline(lines, line);) {
        std::string mode = line.substr(0, 10);
        EXPECT_TRUE(mode == "drwxr-xr-x" || mode == "-rw-r--r--" || mode == "-rwxr-xr-x") << line;
        EXPECT_TRUE(Contains(line, " root/root ")) << line;
    }

    std::string depends;
    ASSERT_EQ(RunCommand({"dpkg-deb", "-f", deb, "Depends"}, work / "depends.txt", &depends), 0) << depends;
    for (const char* package : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libsqlite3-0", "fonts-liberation",
                                "fonts-noto-cjk", "ca-certificates"})
        EXPECT_TRUE(Contains(depends, package)) << package << " missing from: " << depends;
    // OpenSSL comes in with the programs that link it.
    std::string linked;
    RunCommand({"objdump", "-p", Prefix("bin/vorlan")}, work / "objdump.txt", &linked);
    if (Contains(linked, "libssl.so.3")) {
        EXPECT_TRUE(Contains(depends, "libssl3")) << depends;
    }
}

}  // namespace
