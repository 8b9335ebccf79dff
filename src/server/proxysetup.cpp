#include "server/proxysetup.h"

#include <array>

#include "platform/registry.h"
#include "server/proxyregistry.h"

namespace {

constexpr char SavedEnable[] = "backup\\proxyEnable";

void SaveStringOnce(TRegistry& backup, const std::string& name, const std::string& value)
{
    if (!backup.ValueExists(name))
        backup.WriteString(name, value);
}

}  // namespace

bool PointProxyAtPageServer(const std::string& server)
{
    const std::string key = TProxyRegistry::InternetSettings;
    TRegistry registry(RegistryRoot::CurrentUser);
    registry.OpenKey(key, true);
    if (!registry.ReadString("proxyServer").empty())
        return false;

    // Without a live value the proxy was off: that is what the saved copy says then.
    if (!registry.ValueExists(SavedEnable)) {
        std::array<unsigned char, 4> enable{};
        registry.ReadBinaryData("proxyEnable", enable.data(), enable.size());
        registry.WriteBinaryData(SavedEnable, enable.data(), enable.size());
    }
    const std::string bypass = registry.ReadString("proxyOverride");
    registry.OpenKey(key + "\\backup", true);
    SaveStringOnce(registry, "proxyServer", "");
    SaveStringOnce(registry, "proxyOverride", bypass);

    registry.OpenKey(key, true);
    const std::array<unsigned char, 4> on{1, 0, 0, 0};
    registry.WriteBinaryData("proxyEnable", on.data(), on.size());
    registry.WriteString("proxyServer", server);
    return true;
}
