#pragma once

#include <string>

#include "platform/registry.h"

// The browser's proxy settings in the current user's Internet settings: the live values
// "proxyEnable" (4 bytes), "proxyServer" and "proxyOverride", and their saved copies: the
// value "backup\proxyEnable" of the key itself (its name holds the backslash) and the
// strings of the subkey "backup".
class TProxyRegistry {
public:
    // The key under HKEY_CURRENT_USER.
    static constexpr char InternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

    // Opens the key, creating it when it does not exist.
    TProxyRegistry();
    ~TProxyRegistry();
    TProxyRegistry(const TProxyRegistry&) = delete;
    TProxyRegistry& operator=(const TProxyRegistry&) = delete;

    // Copies the saved values over the live ones. A missing saved enable value leaves
    // "proxyEnable" as it is; missing saved strings make the live ones empty. A saved
    // enable value that is not binary or longer than 4 bytes raises ERegistryException,
    // as does a value that cannot be written.
    void RestoreProxy();

private:
    std::string SavedString(const std::string& name);

    TRegistry registry;
};
