#pragma once

#include "schedule/dialaccount.h"

// The account as last stored in the "RAS" section of vorlan.ini: what the options page's
// fields hold, for a program that shows no options page. Read afresh on every call.
class TStoredDialAccount : public TDialAccount {
public:
    std::string UserName() const override;
    std::string Password() const override;
    std::string Telephone() const override;
};
