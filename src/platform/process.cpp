#include "platform/process.h"

#include <cerrno>
#include <cstdlib>
#include <thread>

#include <csignal>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

pid_t SpawnProgram(const std::string& file, const std::vector<std::string>& arguments)
{
    std::vector<std::string> words;
    words.push_back(file);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, file.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

pid_t StartProgram(const std::string& file, const std::vector<std::string>& arguments)
{
    pid_t pid = SpawnProgram(file, arguments);
    if (pid > 0)
        std::thread([pid] { WaitProgram(pid); }).detach();
    return pid;
}

bool ProgramRunning(pid_t pid, int* exitCode)
{
    int status = 0;
    pid_t result;
    // An interrupted look says nothing about the child; only a real answer ends it.
    do {
        result = ::waitpid(pid, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == 0)
        return true;
    if (exitCode)
        *exitCode = result == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return false;
}

int WaitProgram(pid_t pid)
{
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(pid, &status, 0);
    } while (result < 0 && errno == EINTR);
    if (result != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void EndProgram(pid_t pid)
{
    ::kill(pid, SIGTERM);
    WaitProgram(pid);
}

std::string FindOnPath(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::string folder = folders.substr(start, end - start);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

bool ShellOpen(const std::string& target)
{
    std::string opener = FindOnPath("xdg-open");
    return !opener.empty() && StartProgram(opener, {target}) > 0;
}
