#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/settings.h"
#include "data/dmmain.h"
#include "net/dns.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"

// A program folder with the shipped tables, the data module, the host cache, the log and a
// scripted user interface, for runs of the scheduler. The scheduler's waits are cut short;
// the settings are those of a fresh start on a LAN and are put back afterwards.
class ScheduleFixture {
public:
    ScheduleFixture();
    ~ScheduleFixture();

    struct Entry {
        std::string alias;
        std::string url;
        TDateTime desired = 0;  // NextDesireDateTime is a day later; daily
        int depth = 3;
        bool cross = true;
        int kind = 1;
    };
    void AddStation(const Entry& entry);
    // The station row of alias, read afresh.
    TTable& Station(const std::string& alias);
    // True when no entry of the schedule is due any more.
    bool NothingDue();
    // The log's texts after its start entries.
    std::vector<std::string> LogTexts();
    // Runs the dial program built beside the suite on the simulated service.
    void UseDialOnTheSimulatedService();

    TempFolder home;
    ScriptedUi ui;
    std::unique_ptr<TDMMain> dm;
    std::unique_ptr<TDNS> hostCache;

private:
    TSettings saved;
    int added = 0;
};

// A moment an hour ago, to the second, as the tables keep it.
TDateTime AnHourAgo();
// Main thread: serves the queue until done or the time-out; false when it passed.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(15));
int Count(const std::vector<std::string>& texts, const std::string& text);
// True when every text of wanted is found in texts, in this order (others may be between).
bool InOrder(const std::vector<std::string>& texts, const std::vector<std::string>& wanted);
