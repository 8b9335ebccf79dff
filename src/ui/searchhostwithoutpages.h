#pragma once

#include <memory>

#include "ui/searchhost.h"

class TDMMain;

// A main window for the search dialog that has no pages: the dialog shown on its own, as
// the screenshots and the search benchmark show it. Going to a page or a site does nothing;
// the schedule dialog is real, made on first use.
class TSearchHostWithoutPages : public TSearchHost {
public:
    explicit TSearchHostWithoutPages(TDMMain& data);
    ~TSearchHostWithoutPages() override;

    void ShowPhoneBookPage() override {}
    void SelectPhoneBookTab(int) override {}
    void SelectScheduleTab(int) override {}
    void ShowSchedulePage() override {}
    void OpenSite(const std::string&) override {}
    TfmWWW& fmWWW() override;

private:
    TDMMain& data;
    std::unique_ptr<TfmWWW> dialog;
};
