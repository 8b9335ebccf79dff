#include "grab/runsite.h"

#include <array>
#include <memory>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/urldatabase.h"
#include "grab/grabsitemaster.h"
#include "grab/grabsiteslave.h"
#include "grab/grabstate.h"
#include "grab/grabtimings.h"

namespace {

const int kSlaves = 5;

using Slots = std::array<std::unique_ptr<TGrabSiteSlave>, kSlaves + 1>;  // slots 1 to 5

bool SiteStopped(const TGrabScheduler& scheduler)
{
    return GrabState().StopFlag || scheduler.EndRequested();
}

bool AnySlaveEnded(const Slots& slaves)
{
    for (const auto& slave : slaves)
        if (slave && slave->Finished())
            return true;
    return false;
}

// The supervisor's pauses end early when a slave ends or the site is stopped.
void Pause(int milliseconds, const Slots& slaves, const TGrabScheduler& scheduler)
{
    WaitOnMain([&] { return AnySlaveEnded(slaves) || SiteStopped(scheduler); },
               std::chrono::milliseconds(milliseconds));
}

void StartSlave(Slots& slaves, int slot, bool cross, bool quick, TGrabScheduler& scheduler)
{
    slaves[slot] = std::make_unique<TGrabSiteSlave>(slot, cross, quick, scheduler);
    slaves[slot]->Start();
}

void EndSlaves(Slots& slaves)
{
    for (auto& slave : slaves)
        if (slave)
            slave->Terminate();
    for (auto& slave : slaves)
        slave.reset();  // waits until the thread has ended
}

// The master frees itself; a site is over only when it has gone, so that it never works
// on into the next site.
void WaitForMaster()
{
    WaitOnMain([] { return GrabState().MasterDone.load(); });
}

void RunSlavePhase(Slots& slaves, bool cross, bool quick, TGrabScheduler& scheduler)
{
    const TGrabTimings& timings = GrabTimings();
    bool someAlive = true;
    while ((someAlive || !GrabState().MasterDone) && !SiteStopped(scheduler)) {
        someAlive = false;
        bool waited = false;
        for (int slot = 1; slot <= kSlaves && !SiteStopped(scheduler); ++slot) {
            auto& slave = slaves[slot];
            if (slave && slave->Alive()) {
                someAlive = true;
                TLog::Detail("(" + std::to_string(UrlDatabase().PendingCount()) + "/"
                             + std::to_string(UrlDatabase().KnownCount()) + ")正處理" + std::to_string(slot)
                             + slave->CurrentURL());
                Pause(timings.slaveReportMs, slaves, scheduler);
                waited = true;
            } else if (slave) {
                slave.reset();
            } else if (UrlDatabase().PendingCount() > 0) {
                StartSlave(slaves, slot, cross, quick, scheduler);
                someAlive = true;
                Pause(timings.slaveStartMs, slaves, scheduler);
                waited = true;
            }
        }
        // Every slot empty while the master still scans: wait for its links, not in a spin.
        if (!waited)
            WaitOnMain([&] { return UrlDatabase().PendingCount() > 0 || GrabState().MasterDone || SiteStopped(scheduler); },
                       std::chrono::milliseconds(timings.slaveStartMs));
    }
}

}  // namespace

int RunSite(const std::string& url, int level, bool cross, bool quick, TGrabScheduler& scheduler)
{
    TGrabState& state = GrabState();
    state.StopFlag = false;
    state.MasterDone = false;
    state.HomePageWhole = false;

    auto* master = new TGrabSiteMaster(url, level, cross, quick, scheduler);
    master->SetFreeOnTerminate(true);
    master->OnTerminate = [] {
        GrabState().MasterDone = true;
        WakeWaiters();
    };
    master->Start();

    WaitOnMain([&] { return state.MasterDone || SiteStopped(scheduler) || UrlDatabase().PendingCount() > 0; });
    if (SiteStopped(scheduler)) {
        scheduler.Status("中斷下載");
        WaitForMaster();
        return 2;
    }
    if (UrlDatabase().PendingCount() == 0) {
        scheduler.Status("下載完畢:" + url);
        WaitForMaster();
        // A home page stored whole that links nothing (depth 0, or no links) is a site
        // done; nothing was interrupted.
        return state.HomePageWhole && !SiteStopped(scheduler) ? 0 : 1;
    }
    scheduler.Status("下載中:<" + state.CurrentAlias() + "><" + url + ">");

    Slots slaves;
    for (int slot = 1; slot <= kSlaves; ++slot)
        StartSlave(slaves, slot, cross, quick, scheduler);
    RunSlavePhase(slaves, cross, quick, scheduler);
    int result = SiteStopped(scheduler) ? 1 : 0;
    EndSlaves(slaves);
    WaitForMaster();
    scheduler.Status("下載完畢" + url);
    return result;
}
