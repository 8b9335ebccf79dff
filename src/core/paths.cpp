#include "core/paths.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/text.h"

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

bool FolderExists(const std::string& path)
{
    std::string name = path;
    if (name.size() > 1 && name.back() == '/')
        name.pop_back();
    struct stat info {};
    return ::stat(name.c_str(), &info) == 0;
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

long long FileSize(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return static_cast<long long>(info.st_size);
}

void ForceFolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return;
    std::string folder = path.substr(0, slash);
    if (FolderExists(folder))
        return;
    auto pieces = SplitText(folder, '/');
    std::string current = pieces[0];
    for (size_t i = 1; i < pieces.size(); ++i) {
        // An absolute path starts with an empty piece: the root itself.
        current = current.empty() ? "/" + pieces[i] : JoinPath(current, pieces[i]);
        if (pieces[i].empty() || FolderExists(current))
            continue;
        if (::mkdir(current.c_str(), 0755) != 0 && errno != EEXIST)
            throw EInOutError("Cannot create folder \"" + current + "\": " + std::strerror(errno));
    }
}

bool ReadWholeFile(const std::string& path, std::string& content)
{
    content.clear();
    // Not blocking: a pipe of that name would hold the open until something writes to it.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info {};
    bool whole = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (whole) {
        // The size is a first guess: a file that grows meanwhile is read on to its end.
        content.resize(static_cast<size_t>(info.st_size) + 1);
        size_t filled = 0;
        for (;;) {
            if (filled == content.size())
                content.resize(content.size() * 2);
            ssize_t got = ::read(fd, content.data() + filled, content.size() - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                whole = got == 0;
                break;
            }
            filled += static_cast<size_t>(got);
        }
        content.resize(whole ? filled : 0);
    }
    ::close(fd);
    return whole;
}

void CopyFileIfExists(const std::string& source, const std::string& target)
{
    std::string content;
    if (!ReadWholeFile(source, content))
        return;
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out)
        throw EInOutError("Cannot write \"" + target + "\": " + std::strerror(errno));
}

namespace {

bool Gone(const std::error_code& error)
{
    return error == std::errc::no_such_file_or_directory;
}

}  // namespace

// The folder's entries are read before any is removed, so removing does not disturb the
// listing. A folder that cannot be listed stays with its contents and counts once.
int RemoveTree(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::file_status status = fs::symlink_status(path, error);
    if (error)
        return Gone(error) ? 0 : 1;
    if (fs::is_directory(status)) {
        std::vector<std::string> entries;
        for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
            entries.push_back(it->path().string());
        if (error)
            return Gone(error) ? 0 : 1;
        int failures = 0;
        for (const std::string& entry : entries)
            failures += RemoveTree(entry);
        if (failures > 0)
            return failures;
    }
    fs::remove(path, error);
    return error && !Gone(error) ? 1 : 0;
}
