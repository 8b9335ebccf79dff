#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/profilefile.h"

// A registry value of the wrong type or size, or a key that cannot be written.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class RegistryRoot { CurrentUser, LocalMachine };

// The registry, kept in the profile file "registry.ini" of the Windows folder: one
// section per key path ("HKEY_CURRENT_USER\Software\..."), values stored with their
// type ("str:", "int:", "bin:" followed by hexadecimal bytes). Names match without
// regard to case, as in the Windows registry.
class TRegistry {
public:
    explicit TRegistry(RegistryRoot root = RegistryRoot::CurrentUser);

    void SetRoot(RegistryRoot root);
    // Key paths use "\" between their parts; a leading "\" is ignored.
    bool OpenKey(const std::string& key, bool create);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool KeyExists(const std::string& key) const;
    std::vector<std::string> GetKeyNames() const;
    std::vector<std::string> GetValueNames() const;

    bool ValueExists(const std::string& name) const;
    // A missing value gives the empty text; a value of another type raises.
    std::string ReadString(const std::string& name) const;
    std::optional<int> ReadInteger(const std::string& name) const;
    // Copies a binary value of at most size bytes into buffer and returns its length;
    // a missing value reads nothing and gives 0; another type or a longer value raises.
    size_t ReadBinaryData(const std::string& name, void* buffer, size_t size) const;

    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    void WriteBinaryData(const std::string& name, const void* data, size_t size);
    bool DeleteValue(const std::string& name);

private:
    std::string FullPath(const std::string& key) const;
    std::string Current() const;
    void Store(const std::string& name, const std::string& typedValue);

    RegistryRoot root;
    std::string currentKey;  // full section name, empty when no key is open
    mutable TProfileFile file;
};
