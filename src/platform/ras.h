#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A connection handle: four bytes, as the dial helper stores it; 0 means no handle.
using TRasHandle = std::uint32_t;

struct TRasConnection {
    TRasHandle handle = 0;
    std::string entryName;
};

// What to dial. An empty entry name means: dial the phone number directly.
struct TRasDialParams {
    std::string entryName;
    std::string phoneNumber;
    std::string callbackNumber;
    std::string userName;
    std::string password;
    std::string domain;
};

// The Remote Access Service: the few calls the dial helper makes. Every call gives a
// code of RasCode (0 on success); ErrorText turns a code into its readable text.
class TRasService {
public:
    virtual ~TRasService() = default;

    // Fills at most room connections; BufferTooSmall when more are active (the first
    // room of them are still given).
    virtual unsigned EnumConnections(size_t room, std::vector<TRasConnection>& connections) = 0;
    // Dials synchronously. handle is the new connection's, or 0 when none came back.
    virtual unsigned Dial(const TRasDialParams& params, TRasHandle& handle) = 0;
    virtual unsigned HangUp(TRasHandle handle) = 0;
    // Fills at most room entry names of the phone book; BufferTooSmall when there are more.
    virtual unsigned EnumEntries(size_t room, std::vector<std::string>& entries) = 0;
    virtual std::string ErrorText(unsigned code) const = 0;
};

// The service chosen by $ZANVIK_RAS: "sim" for the simulated one, empty or "nmcli" for
// NetworkManager. When none can be had, every call of the one given fails with a text
// that says why.
std::unique_ptr<TRasService> CreateRasService();
