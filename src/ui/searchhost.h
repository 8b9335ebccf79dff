#pragma once

#include <string>

class TfmWWW;

// What the search dialog asks of the main window: its pages and category tabs, the
// schedule dialog it shares, and the opening of a site. The main window implements it;
// tests use a fake.
class TSearchHost {
public:
    virtual ~TSearchHost() = default;

    // The phone book page in front, exactly as its picture button brings it.
    virtual void ShowPhoneBookPage() = 0;
    // Selects a category tab of the phone book page (0 all, 1 to 10), which filters the
    // phone book table to that category.
    virtual void SelectPhoneBookTab(int tab) = 0;
    // Selects a category tab of the schedule page, filtering the schedule table.
    virtual void SelectScheduleTab(int tab) = 0;
    // The schedule page in front, exactly as its picture button brings it: tab 0 again.
    virtual void ShowSchedulePage() = 0;
    // The site in the built-in browser, or the user's own when USE_browser is false.
    virtual void OpenSite(const std::string& url) = 0;
    // The schedule dialog, made on first use and kept.
    virtual TfmWWW& fmWWW() = 0;
};
