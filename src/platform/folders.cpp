#include "platform/folders.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace {

std::mutex folderLock;
std::string programFolder;
std::string windowsFolder;

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
    return FindExecutableFolder();
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
}
