#include "platform/rasnmcli.h"

#include <algorithm>

#include "platform/profiledocument.h"
#include "platform/raserrors.h"
#include "platform/rasnmcliterse.h"

namespace {

// Beyond nmcli's own wait, for it to start, ask NetworkManager and answer.
constexpr std::chrono::seconds startAllowance(10);

struct Kind {
    const char* type;
    const char* userField;
    const char* secretField;
    bool dialsDirectly;  // may stand in when no entry is named
};

const Kind kinds[] = {
    {"pppoe", "pppoe.username", "pppoe.password", true},
    {"gsm", "gsm.username", "gsm.password", true},
    {"cdma", "cdma.username", "cdma.password", true},
    {"vpn", "vpn.user-name", "vpn.secrets.password", false},
};

const Kind* KindOf(const std::string& type)
{
    for (const Kind& kind : kinds) {
        if (type == kind.type)
            return &kind;
    }
    return nullptr;
}

std::string FirstLine(const std::string& text)
{
    size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos)
        return {};
    size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string WhatNmcliSaid(const TCommandResult& result)
{
    if (!result.started || result.timedOut)
        return result.failure;
    std::string line = FirstLine(result.errors);
    if (StartsWithText(line, "Error: "))
        line.erase(0, 7);
    return line.empty() ? "nmcli ended with exit code " + std::to_string(result.exitCode) : "nmcli: " + line;
}

bool Succeeded(const TCommandResult& result)
{
    return result.started && !result.timedOut && result.exitCode == 0;
}

}  // namespace

TRasNmcli::TRasNmcli(std::string program, std::chrono::seconds wait) : program(std::move(program)), wait(wait) {}

unsigned TRasNmcli::EnumConnections(size_t room, std::vector<TRasConnection>& connections)
{
    connections.clear();
    std::vector<Profile> active;
    if (unsigned code = ListProfiles(true, active))
        return code;
    for (const Profile& profile : active) {
        if (connections.size() == room)
            return Remember(RasCode::BufferTooSmall, "more than " + std::to_string(room) + " active connections");
        connections.push_back({ActivePathNumber(profile.activePath), profile.name});
    }
    return RasCode::Success;
}

unsigned TRasNmcli::Dial(const TRasDialParams& params, TRasHandle& handle)
{
    handle = 0;
    if (params.password.find_first_of("\r\n") != std::string::npos)
        return Remember(RasCode::InvalidParameter, "the password holds a line break");
    Profile profile;
    if (unsigned code = FindProfile(params.entryName, profile))
        return code;
    const Kind* kind = KindOf(profile.type);
    if (unsigned code = SetUserName(profile, params.userName))
        return code;

    std::vector<std::string> arguments{"-w", std::to_string(wait.count()), "connection", "up", "uuid", profile.uuid};
    std::string secrets;
    if (!params.password.empty()) {
        // Through a pipe, so that the password shows in no argument list and no file.
        arguments.insert(arguments.end(), {"passwd-file", "/dev/stdin"});
        secrets = std::string(kind->secretField) + ":" + params.password + "\n";
    }
    TCommandResult result = Run(arguments, secrets);
    if (!Succeeded(result))
        return Failed(result, RasCode::CannotFindPhonebookEntry);

    // The connection is up; when it cannot be found again it simply has no handle.
    std::vector<Profile> active;
    if (ListProfiles(true, active) == RasCode::Success) {
        for (const Profile& up : active) {
            if (up.uuid == profile.uuid)
                handle = ActivePathNumber(up.activePath);
        }
    }
    return RasCode::Success;
}

unsigned TRasNmcli::HangUp(TRasHandle handle)
{
    std::vector<Profile> active;
    if (unsigned code = ListProfiles(true, active))
        return code;
    auto found = std::find_if(active.begin(), active.end(), [&](const Profile& profile) {
        return handle != 0 && ActivePathNumber(profile.activePath) == handle;
    });
    if (found == active.end())
        return Remember(RasCode::InvalidHandle, "no active dial-up connection has handle " + std::to_string(handle));
    TCommandResult result =
        Run({"-w", std::to_string(wait.count()), "connection", "down", "apath", found->activePath});
    return Succeeded(result) ? RasCode::Success : Failed(result, RasCode::InvalidHandle);
}

unsigned TRasNmcli::EnumEntries(size_t room, std::vector<std::string>& entries)
{
    entries.clear();
    std::vector<Profile> profiles;
    if (unsigned code = ListProfiles(false, profiles))
        return code;
    for (const Profile& profile : profiles) {
        if (entries.size() == room)
            return Remember(RasCode::BufferTooSmall, "more than " + std::to_string(room) + " dial-up profiles");
        entries.push_back(profile.name);
    }
    return RasCode::Success;
}

std::string TRasNmcli::ErrorText(unsigned code) const
{
    std::string text = RasErrorText(code);
    if (code == lastCode && !lastDetail.empty())
        text += " (" + lastDetail + ")";
    return text;
}

TCommandResult TRasNmcli::Run(const std::vector<std::string>& arguments, const std::string& input) const
{
    return RunCommand(program, arguments, input, wait + startAllowance);
}

// The profiles of the kinds Remote Access handles, in nmcli's order.
unsigned TRasNmcli::ListProfiles(bool activeOnly, std::vector<Profile>& profiles)
{
    profiles.clear();
    std::vector<std::string> arguments{"-t", "-f", "NAME,UUID,TYPE,ACTIVE-PATH", "connection", "show"};
    if (activeOnly)
        arguments.push_back("--active");
    TCommandResult result = Run(arguments);
    if (!Succeeded(result))
        return Failed(result, RasCode::CannotFindPhonebookEntry);
    for (const auto& fields : TerseRows(result.output)) {
        if (fields.size() >= 4 && KindOf(fields[2]))
            profiles.push_back({fields[0], fields[1], fields[2], fields[3]});
    }
    return RasCode::Success;
}

unsigned TRasNmcli::FindProfile(const std::string& entryName, Profile& found)
{
    std::vector<Profile> profiles;
    if (unsigned code = ListProfiles(false, profiles))
        return code;
    auto match = std::find_if(profiles.begin(), profiles.end(), [&](const Profile& profile) {
        return entryName.empty() ? KindOf(profile.type)->dialsDirectly : SameText(profile.name, entryName);
    });
    if (match == profiles.end()) {
        return Remember(RasCode::CannotFindPhonebookEntry,
                        entryName.empty() ? "no PPPoE or mobile broadband profile is set up"
                                          : "no dial-up profile is named \"" + entryName + "\"");
    }
    found = *match;
    return RasCode::Success;
}

// NetworkManager takes the user name from the profile, not from the call: it is written
// into the profile, and only when it differs, so that a dial does not rewrite the
// profile every time.
unsigned TRasNmcli::SetUserName(const Profile& profile, const std::string& userName)
{
    if (userName.empty())
        return RasCode::Success;
    const char* field = KindOf(profile.type)->userField;
    TCommandResult current = Run({"-g", field, "connection", "show", "uuid", profile.uuid});
    if (!Succeeded(current))
        return Failed(current, RasCode::CannotFindPhonebookEntry);
    auto rows = TerseRows(current.output);
    if (!rows.empty() && rows.front().size() == 1 && rows.front().front() == userName)
        return RasCode::Success;
    TCommandResult changed = Run({"connection", "modify", "uuid", profile.uuid, field, userName});
    return Succeeded(changed) ? RasCode::Success : Failed(changed, RasCode::CannotFindPhonebookEntry);
}

unsigned TRasNmcli::Failed(const TCommandResult& result, unsigned notFound)
{
    unsigned code = RasCode::FromDevice;
    if (!result.started)
        code = RasCode::ServiceUnavailable;
    else if (result.timedOut)
        code = RasCode::Timeout;
    else if (result.exitCode == 2)
        code = RasCode::InvalidParameter;
    else if (result.exitCode == 3)
        code = RasCode::Timeout;
    else if (result.exitCode == 8)
        code = RasCode::ServiceUnavailable;
    else if (result.exitCode == 10)
        code = notFound;
    return Remember(code, WhatNmcliSaid(result));
}

unsigned TRasNmcli::Remember(unsigned code, std::string detail)
{
    lastCode = code;
    lastDetail = std::move(detail);
    return code;
}
