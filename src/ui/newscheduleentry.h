#pragma once

#include <string>

class TDMMain;
class TfmWWW;

// A new schedule entry for a site, as the phone book and the search dialog make one: the
// schedule dialog is prepared with the default depth, a record with the site's address,
// short name and category and the default cross-site switch is appended to the schedule
// table, and the dialog is shown on it. True when the user chose OK: the record waits in
// Insert state for the caller to post. Otherwise the record has been cancelled.
bool EditNewScheduleEntry(TDMMain& data, TfmWWW& dialog, const std::string& url, const std::string& alias,
                          int category);
