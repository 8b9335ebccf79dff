#pragma once

#include <string>

class TDMMain;

// True when the schedule holds the site, in any category: an entry whose address is the
// same page as url once both are in canonical form ("HTTP://WWW.A.COM" is
// "http://www.a.com/"). Reads the schedule file itself, so the schedule page's category
// filter does not hide an entry.
bool IsScheduledSite(TDMMain& data, const std::string& url);
