#pragma once

#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/profiledocument.h"

// A profile file that could not be written (the folder is read-only, the disk is full).
class EProfileWrite : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A Windows profile file: every read sees what is on disk now, every write is made under
// a file lock and lands by an atomic rename, so two processes can share one file and a
// crash never leaves half of it.
class TProfileFile {
public:
    enum class Access { Shared, OwnerOnly };

    // A name without "/" lives in the Windows folder, as Windows places it.
    explicit TProfileFile(std::string name, Access access = Access::Shared);

    const std::string& FileName() const { return path; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Decimal, or hexadecimal for "0x" values longer than two characters; anything else
    // that is not a number gives the fallback.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    bool SectionExists(const std::string& section) const;
    std::vector<std::string> ReadSection(const std::string& section) const;
    std::vector<std::string> ReadSections() const;
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& section) const;
    // The binary-structure format: hexadecimal digits of the bytes and a checksum byte.
    bool ReadStruct(const std::string& section, const std::string& key, void* data, size_t size) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Writes a key that the caller knows is not in the file yet (the log's numbered keys).
    // While the file is as this object's last write left it and section is its last
    // section, the line is appended, so the cost does not grow with the file; otherwise
    // it is written as WriteString does.
    void AddNewKey(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void WriteStruct(const std::string& section, const std::string& key, const void* data, size_t size);
    void DeleteKey(const std::string& section, const std::string& key);
    // Makes an empty section when there is none of that name.
    void AddSection(const std::string& section);
    void EraseSection(const std::string& section);

private:
    ProfileDocument Load() const;
    template <typename Change> void Update(Change change);

    std::string path;
    Access access;
    // Where this object's last write ended the file, and that write's section, for AddNewKey.
    long long appendAt = -1;
    unsigned long long appendInode = 0;
    std::string appendSection;
};

// How long a write waits for the lock that another program holds on the file before it
// raises EProfileWrite naming the holder; tests shorten it.
inline constexpr std::chrono::milliseconds ProfileLockWait{5000};
void SetProfileLockWaitForTest(std::chrono::milliseconds wait);

// The integer reading rule of profile files, for values held elsewhere.
int ProfileInteger(const std::string& text, int fallback);

std::string StructText(const void* data, size_t size);
bool StructFromText(const std::string& text, void* data, size_t size);
