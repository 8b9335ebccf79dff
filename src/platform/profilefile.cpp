#include "platform/profilefile.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/folders.h"

namespace {

std::string ErrnoText(int error)
{
    return std::strerror(error);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd; }
    int release()
    {
        int result = fd;
        fd = -1;
        return result;
    }

private:
    int fd;
};

bool ReadAll(int fd, std::string& text)
{
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::atomic<long long> lockWaitMs{ProfileLockWait.count()};

// The process that holds a lock on the file open as fd, from the kernel's lock list; 0 when
// it cannot be told.
pid_t LockHolder(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return 0;
    char id[64];
    std::snprintf(id, sizeof id, "%02x:%02x:%llu", ::major(info.st_dev), ::minor(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF"; waiting requests carry "->".
        std::istringstream words(line);
        std::string number, kind, mode, access, device;
        long long pid = 0;
        if (words >> number >> kind >> mode >> access >> pid >> device && kind != "->" && device == id)
            return static_cast<pid_t>(pid);
    }
    return 0;
}

// Takes the exclusive lock of fd, waiting at most the lock wait. On failure errno tells
// why; EWOULDBLOCK when another program held it all that time.
bool LockWithin(int fd)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(lockWaitMs.load());
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Opens the file and takes its exclusive lock; retries when another writer replaced the
// file between our open and our lock, so the lock is always on the file now in place.
// Raises EProfileWrite when the file cannot be opened or stays locked too long.
int OpenLocked(const std::string& path, mode_t mode)
{
    for (;;) {
        FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode));
        if (fd.get() < 0)
            throw EProfileWrite("Cannot write \"" + path + "\": " + ErrnoText(errno));
        if (!LockWithin(fd.get())) {
            if (errno != EWOULDBLOCK)
                throw EProfileWrite("Cannot write \"" + path + "\": " + ErrnoText(errno));
            pid_t holder = LockHolder(fd.get());
            throw EProfileWrite("無法寫入 \"" + path + "\": 另一個程式"
                                + (holder > 0 ? "(程序 " + std::to_string(holder) + ")" : std::string())
                                + "鎖住這個檔案已超過 " + std::to_string(lockWaitMs.load()) + " 毫秒");
        }
        struct stat opened {};
        struct stat current {};
        if (::fstat(fd.get(), &opened) == 0 && ::stat(path.c_str(), &current) == 0 && opened.st_ino == current.st_ino
            && opened.st_dev == current.st_dev)
            return fd.release();
    }
}

}  // namespace

void SetProfileLockWaitForTest(std::chrono::milliseconds wait)
{
    lockWaitMs = wait.count();
}

int ProfileInteger(const std::string& text, int fallback)
{
    std::string s = text;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.erase(s.begin());
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
    int base = 10;
    size_t start = 0;
    bool negative = false;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        start = 2;
    } else if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        start = 1;
    }
    if (start >= s.size())
        return fallback;
    long long value = 0;
    const char* first = s.data() + start;
    const char* last = s.data() + s.size();
    auto [end, error] = std::from_chars(first, last, value, base);
    if (error != std::errc() || end != last)
        return fallback;
    if (negative)
        value = -value;
    if (base == 16 && value <= 0xFFFFFFFFLL)
        return static_cast<int>(static_cast<unsigned int>(value));
    if (value < INT32_MIN || value > INT32_MAX)
        return fallback;
    return static_cast<int>(value);
}

std::string StructText(const void* data, size_t size)
{
    static const char digits[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::string text;
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
        sum += bytes[i];
    }
    text += digits[(sum >> 4) & 15];
    text += digits[sum & 15];
    return text;
}

bool StructFromText(const std::string& text, void* data, size_t size)
{
    if (text.size() != 2 * size + 2)
        return false;
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (error != std::errc() || end != text.data() + i + 2)
            return false;
        bytes += static_cast<char>(value);
    }
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += static_cast<unsigned char>(bytes[i]);
    if ((sum & 255) != static_cast<unsigned char>(bytes[size]))
        return false;
    std::memcpy(data, bytes.data(), size);
    return true;
}

TProfileFile::TProfileFile(std::string name, Access access)
    : path(name.find('/') == std::string::npos ? WindowsFolder() + name : std::move(name)), access(access)
{
}

ProfileDocument TProfileFile::Load() const
{
    // Read afresh every time: another process may have replaced the file since.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    std::string text;
    if (fd.get() < 0 || !ReadAll(fd.get(), text))
        return ProfileDocument();  // a missing or unreadable file gives the defaults, as on Windows
    return ProfileDocument(text);
}

template <typename Change> void TProfileFile::Update(Change change)
{
    mode_t mode = access == Access::OwnerOnly ? 0600 : 0644;
    FileDescriptor locked(OpenLocked(path, mode));
    std::string text;
    if (!ReadAll(locked.get(), text))
        throw EProfileWrite("Cannot read \"" + path + "\": " + ErrnoText(errno));
    ProfileDocument document(text);
    if (!change(document))
        return;
    struct stat info {};
    ::fstat(locked.get(), &info);
    mode_t keep = access == Access::OwnerOnly ? 0600 : (info.st_mode & 07777);

    std::string temporary = FolderOf(path) + ".profile-XXXXXX";
    FileDescriptor out(::mkstemp(temporary.data()));
    if (out.get() < 0)
        throw EProfileWrite("Cannot write \"" + path + "\": " + ErrnoText(errno));
    std::string newText = document.Text();
    bool written = ::fchmod(out.get(), keep) == 0 && WriteAll(out.get(), newText) && ::fsync(out.get()) == 0;
    int error = errno;
    struct stat replaced {};
    ::fstat(out.get(), &replaced);
    bool closed = ::close(out.release()) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
        if (written && closed)
            error = errno;
        ::unlink(temporary.c_str());
        throw EProfileWrite("Cannot write \"" + path + "\": " + ErrnoText(error));
    }
    appendAt = -1;
    if (document.NewKeyGoesAtEnd(appendSection)) {
        appendAt = static_cast<long long>(newText.size());
        appendInode = replaced.st_ino;
    }
}

std::string TProfileFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& fallback) const
{
    auto value = Load().Value(section, key);
    return value ? *value : fallback;
}

int TProfileFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const
{
    auto value = Load().Value(section, key);
    return value ? ProfileInteger(*value, fallback) : fallback;
}

bool TProfileFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool TProfileFile::ValueExists(const std::string& section, const std::string& key) const
{
    return Load().Value(section, key).has_value();
}

bool TProfileFile::SectionExists(const std::string& section) const
{
    return Load().HasSection(section);
}

std::vector<std::string> TProfileFile::ReadSection(const std::string& section) const
{
    return Load().Keys(section);
}

std::vector<std::string> TProfileFile::ReadSections() const
{
    return Load().Sections();
}

std::vector<std::pair<std::string, std::string>> TProfileFile::ReadSectionValues(const std::string& section) const
{
    return Load().Entries(section);
}

bool TProfileFile::ReadStruct(const std::string& section, const std::string& key, void* data, size_t size) const
{
    auto value = Load().Value(section, key);
    return value && StructFromText(*value, data, size);
}

void TProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    Update([&](ProfileDocument& document) {
        document.Set(section, key, value);
        return true;
    });
}

void TProfileFile::AddNewKey(const std::string& section, const std::string& key, const std::string& value)
{
    if (appendAt >= 0 && SameText(section, appendSection)) {
        FileDescriptor locked(OpenLocked(path, access == Access::OwnerOnly ? 0600 : 0644));
        struct stat info {};
        if (::fstat(locked.get(), &info) == 0 && info.st_size == appendAt && info.st_ino == appendInode) {
            // The file is as we left it: the line lands where a rewrite would put it, and the
            // lines before it are never touched.
            std::string line = ProfileDocument::EntryText(key, value) + "\n";
            if (::lseek(locked.get(), 0, SEEK_END) < 0 || !WriteAll(locked.get(), line)) {
                int error = errno;
                // A line cut short by a full disk is taken away again.
                [[maybe_unused]] int ignored = ::ftruncate(locked.get(), appendAt);
                throw EProfileWrite("Cannot write \"" + path + "\": " + ErrnoText(error));
            }
            appendAt += static_cast<long long>(line.size());
            return;
        }
    }
    appendSection = section;
    WriteString(section, key, value);
}

void TProfileFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TProfileFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TProfileFile::WriteStruct(const std::string& section, const std::string& key, const void* data, size_t size)
{
    WriteString(section, key, StructText(data, size));
}

void TProfileFile::DeleteKey(const std::string& section, const std::string& key)
{
    Update([&](ProfileDocument& document) { return document.Delete(section, key); });
}

void TProfileFile::EraseSection(const std::string& section)
{
    Update([&](ProfileDocument& document) { return document.EraseSection(section); });
}

void TProfileFile::AddSection(const std::string& section)
{
    Update([&](ProfileDocument& document) { return document.AddSection(section); });
}
