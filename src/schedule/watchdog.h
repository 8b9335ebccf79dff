#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "core/datetime.h"
#include "core/thread.h"
#include "grab/grabscheduler.h"
#include "grab/runsite.h"
#include "schedule/dialcontrol.h"

class TDMMain;
class TQuery;

// The scheduler thread. It polls station.db through its own query in the data module's
// second session for entries due before now, runs them one a poll (the reminder, the
// connection, the grab of the site, the reading list, the hang-up), records the outcome
// in the entry and moves it to its next due moment. Progress goes to the log, the status
// line, the title and the animation. The main window starts it, and at its closing sets
// StopFlag and calls Terminate; every wait of the thread then ends promptly.
class TWatchDog : public TThread, public TGrabScheduler {
public:
    // The grab of one site; RunSite in the program, a stand-in in tests.
    using TSiteRun = std::function<int(const std::string& url, int level, bool cross, bool quick, TGrabScheduler&)>;

    // data and account must outlive the thread.
    TWatchDog(TDMMain& data, const TDialAccount& account, TSiteRun runSite = RunSite);
    ~TWatchDog() override;

    bool EndRequested() const override { return Terminated(); }
    void RequestEnd() override { Terminate(); }
    // Keeps text and, on the main thread, shows it in the status line (when there is a
    // text, the window is ready and the thread is not ending) and the title (when the
    // thread is not ending).
    void Status(const std::string& text) override;
    std::string StatusText() const;
    // The main window's animation, while the window is ready and the thread not ending.
    void Animation(bool on);

    void Dial() { dialControl.Dial(); }
    void HangUp() { dialControl.HangUp(); }
    bool EnsureConnection() { return dialControl.EnsureConnection(); }
    const TDialControl& DialControl() const { return dialControl; }

protected:
    void Execute() override;

private:
    // The schedule entry being run, as read from the poll's row.
    struct TEntry {
        std::string url;
        std::string alias;
        int depth = 0;
        bool quick = false;
        bool cross = false;
        int kindSerial = 0;
        TDateTime desired = 0;
    };

    bool WaitForStation(const std::string& path);
    void Pause(int milliseconds);
    void Poll(TQuery& query);
    void RunEntry(TQuery& query);
    void GrabEntry(const TEntry& entry, int& result);
    void FinishEntry(TQuery& query, const TEntry& entry, bool goAhead, int result);
    void Advance(TQuery& query, int result);
    void RecordReading(const TEntry& entry);
    void RefreshStations();
    void ClearCrawlLists();

    TDMMain& data;
    TSiteRun runSite;
    TDialControl dialControl;
    mutable std::mutex statusLock;
    std::string statusText;
};
