#include "platform/folders.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

namespace {

std::mutex folderLock;
std::string programFolder;
std::string windowsFolder;
std::optional<std::string> installedFilesFolder;

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string FindExecutableFolder()
{
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return WithSlash(std::filesystem::current_path().string());
    return WithSlash(exe.parent_path().string());
}

std::string FindProgramFolder()
{
    if (const char* home = std::getenv("ZANVIK_HOME"); home && *home)
        return WithSlash(home);
    std::string folder = FindExecutableFolder();
    // An installed program's own folder is shared and not the user's to write.
    if (!InstalledFilesFolderFor(folder).empty())
        return UserProgramFolder();
    return folder;
}

std::string FindWindowsFolder()
{
    if (const char* dir = std::getenv("ZANVIK_WINDIR"); dir && *dir)
        return WithSlash(dir);
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return WithSlash(std::string(config) + "/zanvik");
    const char* home = std::getenv("HOME");
    return WithSlash(std::string(home && *home ? home : ".") + "/.config/zanvik");
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir)
        return user->pw_dir;
    return std::filesystem::current_path().string();
}

}  // namespace

std::string ProgramFolder()
{
    std::lock_guard guard(folderLock);
    if (programFolder.empty())
        programFolder = FindProgramFolder();
    return programFolder;
}

std::string ExecutableFolder()
{
    static const std::string folder = FindExecutableFolder();
    return folder;
}

std::string WindowsFolder()
{
    std::lock_guard guard(folderLock);
    if (windowsFolder.empty()) {
        windowsFolder = FindWindowsFolder();
        std::error_code ignored;  // a folder that cannot be made shows up as a failing write
        std::filesystem::create_directories(windowsFolder, ignored);
    }
    return windowsFolder;
}

void ForgetFolders()
{
    std::lock_guard guard(folderLock);
    programFolder.clear();
    windowsFolder.clear();
    installedFilesFolder.reset();
}

std::string InstalledFilesFolderFor(const std::string& programFileFolder)
{
    std::filesystem::path folder(programFileFolder);
    if (!folder.has_filename())
        folder = folder.parent_path();
    if (folder.filename() != "bin")
        return {};
    std::filesystem::path shared = folder.parent_path() / "share" / "zanvik";
    std::error_code error;
    if (!std::filesystem::is_directory(shared, error))
        return {};
    return WithSlash(shared.string());
}

std::string InstalledFilesFolder()
{
    std::lock_guard guard(folderLock);
    if (!installedFilesFolder)
        installedFilesFolder = InstalledFilesFolderFor(FindExecutableFolder());
    return *installedFilesFolder;
}

std::string UserProgramFolder()
{
    // The base directory rules ignore a relative XDG_DATA_HOME.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return WithSlash(std::string(data) + "/zanvik");
    return WithSlash(HomeFolder() + "/.local/share/zanvik");
}
