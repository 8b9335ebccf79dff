#include "platform/registry.h"

#include <algorithm>

namespace {

const char* RootName(RegistryRoot root)
{
    return root == RegistryRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string WithoutOuterSlashes(std::string key)
{
    while (!key.empty() && key.front() == '\\')
        key.erase(key.begin());
    while (!key.empty() && key.back() == '\\')
        key.pop_back();
    return key;
}

std::string HexBytes(const void* data, size_t size)
{
    static const char digits[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::optional<std::string> BytesOfHex(const std::string& hex)
{
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int value = ProfileInteger("0x" + hex.substr(i, 2), -1);
        if (value < 0 || value > 255)
            return std::nullopt;
        bytes += static_cast<char>(value);
    }
    return bytes;
}

}  // namespace

TRegistry::TRegistry(RegistryRoot root) : root(root), file("registry.ini")
{
}

void TRegistry::SetRoot(RegistryRoot newRoot)
{
    root = newRoot;
    currentKey.clear();
}

std::string TRegistry::FullPath(const std::string& key) const
{
    std::string relative = WithoutOuterSlashes(key);
    return relative.empty() ? std::string(RootName(root)) : std::string(RootName(root)) + "\\" + relative;
}

std::string TRegistry::Current() const
{
    if (currentKey.empty())
        throw ERegistryException("No registry key is open");
    return currentKey;
}

bool TRegistry::KeyExists(const std::string& key) const
{
    std::string path = FullPath(key);
    for (const std::string& section : file.ReadSections())
        if (SameText(section, path) || StartsWithText(section, path + "\\"))
            return true;
    return false;
}

bool TRegistry::OpenKey(const std::string& key, bool create)
{
    std::string path = FullPath(key);
    if (!KeyExists(key)) {
        if (!create)
            return false;
        try {
            file.AddSection(path);
        } catch (const EProfileWrite& error) {
            throw ERegistryException(std::string("Failed to create key ") + key + ": " + error.what());
        }
    }
    currentKey = path;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key)
{
    return OpenKey(key, false);
}

void TRegistry::CloseKey()
{
    currentKey.clear();
}

std::vector<std::string> TRegistry::GetKeyNames() const
{
    std::string prefix = Current() + "\\";
    std::vector<std::string> names;
    for (const std::string& section : file.ReadSections()) {
        if (!StartsWithText(section, prefix))
            continue;
        std::string rest = section.substr(prefix.size());
        std::string child = rest.substr(0, rest.find('\\'));
        bool seen = std::any_of(names.begin(), names.end(), [&](const auto& n) { return SameText(n, child); });
        if (!child.empty() && !seen)
            names.push_back(child);
    }
    return names;
}

std::vector<std::string> TRegistry::GetValueNames() const
{
    return file.ReadSection(Current());
}

bool TRegistry::ValueExists(const std::string& name) const
{
    return file.ValueExists(Current(), name);
}

std::string TRegistry::ReadString(const std::string& name) const
{
    if (!file.ValueExists(Current(), name))
        return {};
    std::string stored = file.ReadString(Current(), name, "");
    if (stored.rfind("str:", 0) != 0)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return stored.substr(4);
}

std::optional<int> TRegistry::ReadInteger(const std::string& name) const
{
    if (!file.ValueExists(Current(), name))
        return std::nullopt;
    std::string stored = file.ReadString(Current(), name, "");
    if (stored.rfind("int:", 0) != 0)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return ProfileInteger(stored.substr(4), 0);
}

size_t TRegistry::ReadBinaryData(const std::string& name, void* buffer, size_t size) const
{
    if (!file.ValueExists(Current(), name))
        return 0;
    std::string stored = file.ReadString(Current(), name, "");
    std::optional<std::string> bytes;
    if (stored.rfind("bin:", 0) == 0)
        bytes = BytesOfHex(stored.substr(4));
    if (!bytes || bytes->size() > size)
        throw ERegistryException("Invalid data type for '" + name + "'");
    std::copy(bytes->begin(), bytes->end(), static_cast<char*>(buffer));
    return bytes->size();
}

void TRegistry::Store(const std::string& name, const std::string& typedValue)
{
    try {
        file.WriteString(Current(), name, typedValue);
    } catch (const EProfileWrite& error) {
        throw ERegistryException("Failed to set data for '" + name + "': " + error.what());
    }
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    Store(name, "str:" + value);
}

void TRegistry::WriteInteger(const std::string& name, int value)
{
    Store(name, "int:" + std::to_string(value));
}

void TRegistry::WriteBinaryData(const std::string& name, const void* data, size_t size)
{
    Store(name, "bin:" + HexBytes(data, size));
}

bool TRegistry::DeleteValue(const std::string& name)
{
    if (!ValueExists(name))
        return false;
    file.DeleteKey(Current(), name);
    return true;
}
