#pragma once

#include <string>

#include "platform/ras.h"

// Stands in when no Remote Access service can be had: every call fails with
// ServiceUnavailable, and its text gives the reason.
class TRasUnavailable : public TRasService {
public:
    explicit TRasUnavailable(std::string reason);

    unsigned EnumConnections(size_t room, std::vector<TRasConnection>& connections) override;
    unsigned Dial(const TRasDialParams& params, TRasHandle& handle) override;
    unsigned HangUp(TRasHandle handle) override;
    unsigned EnumEntries(size_t room, std::vector<std::string>& entries) override;
    std::string ErrorText(unsigned code) const override;

private:
    std::string reason;
};
