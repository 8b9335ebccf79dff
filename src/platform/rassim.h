#pragma once

#include <string>

#include "platform/profilefile.h"
#include "platform/ras.h"

// A simulated Remote Access Service for tests and trials, chosen with ZANVIK_RAS=sim.
// Its whole state is the profile file "rassim.ini" of the Windows folder, so a test sets
// the scene before it starts a program and reads afterwards what the program did:
//
//   [connections]  the active connections in listing order, handle=entry name
//   [entries]      the phone-book entries, one key each (the value is not used)
//   [fail]         calls that fail and their code: connections, dial, hangup, entries
//   [errors]       texts to give for codes instead of the standard ones, code=text
//   [dialled]      written: what the last dial asked for (entry, phone, user, password,
//                  callback, domain)
//   [hungup]       written: handles = every handle asked to hang up, in order
//   [state]        written: lasthandle = the last handle given out
//
// A successful dial adds a connection under a new handle, named after the entry (or the
// phone number when it dialled one directly); a successful hang-up removes it.
class TRasSim : public TRasService {
public:
    TRasSim();

    unsigned EnumConnections(size_t room, std::vector<TRasConnection>& connections) override;
    unsigned Dial(const TRasDialParams& params, TRasHandle& handle) override;
    unsigned HangUp(TRasHandle handle) override;
    unsigned EnumEntries(size_t room, std::vector<std::string>& entries) override;
    std::string ErrorText(unsigned code) const override;

private:
    unsigned Failure(const std::string& call) const;
    bool HasEntry(const std::string& name) const;
    TRasHandle NewHandle() const;
    void Record(const TRasDialParams& params);

    TProfileFile state;
};
