#pragma once

#include <string>

// Makes an existing file impossible to remove for as long as the object lives: the
// immutable attribute when the process may set it (root), otherwise a read-only folder
// around it, so keep the file alone in its folder. Made() is false when neither works
// here; a test then skips.
class UndeletableFile {
public:
    explicit UndeletableFile(std::string path);
    ~UndeletableFile();
    UndeletableFile(const UndeletableFile&) = delete;
    UndeletableFile& operator=(const UndeletableFile&) = delete;

    bool Made() const { return how != How::None; }

private:
    enum class How { None, Immutable, ReadOnlyFolder };

    bool SetImmutable(bool on) const;
    std::string Folder() const;

    std::string path;
    How how = How::None;
};
