#include "platform/rassim.h"

#include <algorithm>

#include "platform/raserrors.h"

namespace {

const char* const connectionsSection = "connections";

// A handle key of [connections]; 0 for a key that is no handle.
TRasHandle HandleOf(const std::string& key)
{
    int value = ProfileInteger(key, 0);
    return value > 0 ? static_cast<TRasHandle>(value) : 0;
}

}  // namespace

TRasSim::TRasSim() : state("rassim.ini") {}

unsigned TRasSim::EnumConnections(size_t room, std::vector<TRasConnection>& connections)
{
    connections.clear();
    if (unsigned code = Failure("connections"))
        return code;
    for (const auto& [key, name] : state.ReadSectionValues(connectionsSection)) {
        TRasHandle handle = HandleOf(key);
        if (handle == 0)
            continue;
        if (connections.size() == room)
            return RasCode::BufferTooSmall;
        connections.push_back({handle, name});
    }
    return RasCode::Success;
}

unsigned TRasSim::Dial(const TRasDialParams& params, TRasHandle& handle)
{
    handle = 0;
    Record(params);
    if (unsigned code = Failure("dial"))
        return code;
    if (!params.entryName.empty() && !HasEntry(params.entryName))
        return RasCode::CannotFindPhonebookEntry;
    handle = NewHandle();
    std::string key = std::to_string(handle);
    state.WriteString(connectionsSection, key, params.entryName.empty() ? params.phoneNumber : params.entryName);
    state.WriteString("state", "lasthandle", key);
    return RasCode::Success;
}

unsigned TRasSim::HangUp(TRasHandle handle)
{
    std::string asked = state.ReadString("hungup", "handles", "");
    state.WriteString("hungup", "handles", (asked.empty() ? "" : asked + " ") + std::to_string(handle));
    if (unsigned code = Failure("hangup"))
        return code;
    for (const std::string& key : state.ReadSection(connectionsSection)) {
        if (handle != 0 && HandleOf(key) == handle) {
            state.DeleteKey(connectionsSection, key);
            return RasCode::Success;
        }
    }
    return RasCode::InvalidHandle;
}

unsigned TRasSim::EnumEntries(size_t room, std::vector<std::string>& entries)
{
    entries.clear();
    if (unsigned code = Failure("entries"))
        return code;
    for (const std::string& name : state.ReadSection("entries")) {
        if (entries.size() == room)
            return RasCode::BufferTooSmall;
        entries.push_back(name);
    }
    return RasCode::Success;
}

std::string TRasSim::ErrorText(unsigned code) const
{
    std::string text = state.ReadString("errors", std::to_string(code), "");
    return text.empty() ? RasErrorText(code) : text;
}

unsigned TRasSim::Failure(const std::string& call) const
{
    int code = state.ReadInteger("fail", call, 0);
    return code > 0 ? static_cast<unsigned>(code) : RasCode::Success;
}

bool TRasSim::HasEntry(const std::string& name) const
{
    auto names = state.ReadSection("entries");
    return std::any_of(names.begin(), names.end(), [&](const std::string& entry) { return SameText(entry, name); });
}

// Never gives out a handle twice, also after its connection is gone.
TRasHandle TRasSim::NewHandle() const
{
    int last = std::max(state.ReadInteger("state", "lasthandle", 0), 0);
    TRasHandle handle = static_cast<TRasHandle>(last);
    for (const std::string& key : state.ReadSection(connectionsSection))
        handle = std::max(handle, HandleOf(key));
    return handle + 1;
}

void TRasSim::Record(const TRasDialParams& params)
{
    state.EraseSection("dialled");
    state.WriteString("dialled", "entry", params.entryName);
    state.WriteString("dialled", "phone", params.phoneNumber);
    state.WriteString("dialled", "callback", params.callbackNumber);
    state.WriteString("dialled", "user", params.userName);
    state.WriteString("dialled", "password", params.password);
    state.WriteString("dialled", "domain", params.domain);
}
