#pragma once

#include <string>

// The dial-up account as the user typed it (the options page's three fields). Dial reads
// it on whichever thread dials, so an implementation must answer from any thread.
class TDialAccount {
public:
    virtual ~TDialAccount() = default;
    virtual std::string UserName() const = 0;
    virtual std::string Password() const = 0;
    virtual std::string Telephone() const = 0;
};

// The account of a machine on a LAN, which never dials: none.
class TNoDialAccount : public TDialAccount {
public:
    std::string UserName() const override { return ""; }
    std::string Password() const override { return ""; }
    std::string Telephone() const override { return ""; }
};
