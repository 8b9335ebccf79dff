#pragma once

#include <chrono>
#include <string>

#include "platform/ras.h"
#include "platform/rascommand.h"

// The Remote Access Service over NetworkManager, driven through its command-line client.
// Only the kinds of connection that Remote Access handles count: PPP over Ethernet,
// mobile broadband (GSM, CDMA) and VPN; the LAN and wireless links are never listed and
// never taken down. A handle is the number of the active connection's D-Bus path. With
// no entry name, a dial brings up the first PPPoE or mobile broadband profile.
class TRasNmcli : public TRasService {
public:
    // program: the nmcli file to run; wait: how long NetworkManager may take to bring a
    // connection up or down.
    explicit TRasNmcli(std::string program, std::chrono::seconds wait = std::chrono::seconds(60));

    unsigned EnumConnections(size_t room, std::vector<TRasConnection>& connections) override;
    unsigned Dial(const TRasDialParams& params, TRasHandle& handle) override;
    unsigned HangUp(TRasHandle handle) override;
    unsigned EnumEntries(size_t room, std::vector<std::string>& entries) override;
    std::string ErrorText(unsigned code) const override;

private:
    struct Profile {
        std::string name;
        std::string uuid;
        std::string type;
        std::string activePath;
    };

    TCommandResult Run(const std::vector<std::string>& arguments, const std::string& input = {}) const;
    unsigned ListProfiles(bool activeOnly, std::vector<Profile>& profiles);
    unsigned FindProfile(const std::string& entryName, Profile& found);
    unsigned SetUserName(const Profile& profile, const std::string& userName);
    unsigned Failed(const TCommandResult& result, unsigned notFound);
    unsigned Remember(unsigned code, std::string detail);

    std::string program;
    std::chrono::seconds wait;
    // nmcli's own words for the last failure, added to the fixed text of its code.
    unsigned lastCode = 0;
    std::string lastDetail;
};
