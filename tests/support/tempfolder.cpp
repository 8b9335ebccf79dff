#include "tempfolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/folders.h"

TempFolder::TempFolder(Use use) : use(use)
{
    std::string pattern = "/tmp/zanvik-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path = pattern + "/";
    if (use == Use::ProgramFolder) {
        std::filesystem::create_directories(path + "windows");
        ::setenv("ZANVIK_HOME", path.c_str(), 1);
        ::setenv("ZANVIK_WINDIR", (path + "windows").c_str(), 1);
        ForgetFolders();
    }
}

TempFolder::~TempFolder()
{
    if (use == Use::ProgramFolder) {
        ::unsetenv("ZANVIK_HOME");
        ::unsetenv("ZANVIK_WINDIR");
        ForgetFolders();
    }
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void TempFolder::Write(const std::string& name, const std::string& content) const
{
    std::filesystem::create_directories(std::filesystem::path(path + name).parent_path());
    WriteFile(path + name, content);
}

std::string TempFolder::Read(const std::string& name) const
{
    return ReadFile(path + name);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}
