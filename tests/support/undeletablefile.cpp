#include "undeletablefile.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

UndeletableFile::UndeletableFile(std::string path) : path(std::move(path))
{
    if (::geteuid() == 0) {
        if (SetImmutable(true))
            how = How::Immutable;
        return;
    }
    if (::chmod(Folder().c_str(), 0555) == 0)
        how = How::ReadOnlyFolder;
}

UndeletableFile::~UndeletableFile()
{
    if (how == How::Immutable)
        SetImmutable(false);
    else if (how == How::ReadOnlyFolder)
        ::chmod(Folder().c_str(), 0755);
}

std::string UndeletableFile::Folder() const
{
    return path.substr(0, path.rfind('/'));
}

bool UndeletableFile::SetImmutable(bool on) const
{
    int file = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW);
    if (file < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(file, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(file, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(file);
    return done;
}
