#include "platform/ras.h"

#include <cstdlib>

#include "platform/process.h"
#include "platform/rasnmcli.h"
#include "platform/rassim.h"
#include "platform/rasunavailable.h"

std::unique_ptr<TRasService> CreateRasService()
{
    const char* chosen = std::getenv("ZANVIK_RAS");
    std::string name = chosen ? chosen : "";
    if (name == "sim")
        return std::make_unique<TRasSim>();
    if (!name.empty() && name != "nmcli") {
        return std::make_unique<TRasUnavailable>("Dial-up networking is not available: ZANVIK_RAS=\"" + name
                                                 + "\" names no service (use \"nmcli\" or \"sim\").");
    }
    std::string nmcli = FindOnPath("nmcli");
    if (nmcli.empty()) {
        return std::make_unique<TRasUnavailable>(
            "Dial-up networking is not available: nmcli (NetworkManager) was not found on the PATH.");
    }
    return std::make_unique<TRasNmcli>(nmcli);
}
