#pragma once

#include <functional>
#include <string>

// The copy of the dial-up account kept in the "RAS" section of vorlan.ini (keys
// username, password, telephone). The file is readable by its owner only: it holds the
// password. The options page fills its fields from here and writes every change back.
struct TRasAccount {
    std::string userName;
    std::string password;
    std::string telephone;
};

TRasAccount ReadRasAccount();

// Fills the account fields: fill gets the stored texts and runs with the loading flag
// set, so that the fields' change handler does not write them back; the flag is cleared
// also when reading or filling fails. Main thread only.
void LoadRasAccount(const std::function<void(const TRasAccount&)>& fill);
bool RasAccountLoading();

// The change handler of all three fields: unless the fields are being loaded, writes the
// three texts at once. Raises EProfileWrite when vorlan.ini cannot be written.
void RasAccountChanged(const TRasAccount& account);
