#include "platform/folderlock.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

pid_t PidIn(int fd)
{
    char text[32] = {};
    ssize_t length = ::pread(fd, text, sizeof text - 1, 0);
    long long pid = 0;
    if (length <= 0 || std::from_chars(text, text + length, pid).ec != std::errc())
        return 0;
    return static_cast<pid_t>(pid);
}

}  // namespace

TFolderLock::TFolderLock(const std::string& folder)
{
    std::string path = folder + (folder.empty() || folder.back() != '/' ? "/" : "") + "vorlan.lock";
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        problem = "\"" + path + "\": " + std::strerror(errno);
        return;
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        result = errno == EWOULDBLOCK ? TResult::Held : TResult::Failed;
        problem = "\"" + path + "\": " + std::strerror(errno);
        holder = PidIn(fd);
        ::close(fd);
        fd = -1;
        return;
    }
    result = TResult::Taken;
    // Only for the message of a refused start; the lock itself is what counts.
    std::string pid = std::to_string(::getpid());
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) < 0)
        problem = "\"" + path + "\": " + std::strerror(errno);
}

TFolderLock::~TFolderLock()
{
    if (fd >= 0)
        ::close(fd);
}
