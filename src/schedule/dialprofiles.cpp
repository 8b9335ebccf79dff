#include "schedule/dialprofiles.h"

#include <string>
#include <vector>

#include "platform/ras.h"
#include "platform/raserrors.h"

bool HasDialUpProfiles()
{
    // One entry is enough to know; a full buffer still gives the first one.
    std::vector<std::string> entries;
    unsigned code = CreateRasService()->EnumEntries(1, entries);
    return (code == RasCode::Success || code == RasCode::BufferTooSmall) && !entries.empty();
}
