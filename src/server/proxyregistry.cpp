#include "server/proxyregistry.h"

#include <array>

namespace {

constexpr char SavedEnable[] = "backup\\proxyEnable";
constexpr char BackupKey[] = "\\backup";

}  // namespace

TProxyRegistry::TProxyRegistry() : registry(RegistryRoot::CurrentUser)
{
    registry.OpenKey(InternetSettings, true);
}

TProxyRegistry::~TProxyRegistry()
{
    registry.CloseKey();
}

void TProxyRegistry::RestoreProxy()
{
    registry.SetRoot(RegistryRoot::CurrentUser);
    registry.OpenKey(InternetSettings, true);
    std::array<unsigned char, 4> enable{};
    if (registry.ValueExists(SavedEnable)) {
        registry.ReadBinaryData(SavedEnable, enable.data(), enable.size());
        registry.WriteBinaryData("proxyEnable", enable.data(), enable.size());
    }
    for (const char* name : {"proxyServer", "proxyOverride"}) {
        std::string saved = SavedString(name);
        registry.WriteString(name, saved);
    }
}

std::string TProxyRegistry::SavedString(const std::string& name)
{
    std::string value;
    if (registry.OpenKey(std::string(InternetSettings) + BackupKey, false))
        value = registry.ReadString(name);
    registry.OpenKey(InternetSettings, true);
    return value;
}
