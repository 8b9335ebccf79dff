// zanvik-proxy-setup: the installer's step that points the browser proxy settings of the
// current user at the page server on 127.0.0.1:8088 when no proxy server is set, keeping
// the earlier values as the saved copies. Run by scripts/setup.
#include <cstdio>
#include <exception>

#include "platform/folders.h"
#include "server/proxysetup.h"

int main()
{
    const std::string file = WindowsFolder() + "registry.ini";
    try {
        if (PointProxyAtPageServer())
            std::printf("Browser proxy set to 127.0.0.1:8088 in %s\n", file.c_str());
        else
            std::printf("Browser proxy already set in %s; left as it is\n", file.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zanvik-proxy-setup: %s: %s\n", file.c_str(), error.what());
        return 1;
    }
    return 0;
}
