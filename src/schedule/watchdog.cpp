#include "schedule/watchdog.h"

#include <chrono>
#include <exception>
#include <thread>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/urldatabase.h"
#include "core/userinterface.h"
#include "data/databaseerror.h"
#include "data/dmmain.h"
#include "data/query.h"
#include "grab/grabstate.h"
#include "schedule/nexttime.h"
#include "schedule/scheduletimings.h"

namespace {

const int kNoResult = -1;
const int kCompleted = 0;
const int kInterrupted = 1;

// Each step that touches the window on its own: one that fails must not keep the
// others from the user.
template <typename Step> void Guarded(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

// Puts the reading list's category filter and its display controls back, also after a
// failure; a filter that cannot be put back leaves the list unfiltered until the user
// picks a category again.
class TReadingListView {
public:
    explicit TReadingListView(TTable& table) : table(table), filtered(table.Filtered())
    {
        table.DisableControls();
    }
    ~TReadingListView()
    {
        Guarded([this] { table.SetFiltered(filtered); });
        table.EnableControls();
    }
    TReadingListView(const TReadingListView&) = delete;
    TReadingListView& operator=(const TReadingListView&) = delete;

private:
    TTable& table;
    bool filtered;
};

}  // namespace

TWatchDog::TWatchDog(TDMMain& data, const TDialAccount& account, TSiteRun runSite)
    : data(data),
      runSite(std::move(runSite)),
      dialControl(account, [this](const std::string& text) { Status(text); }, [this] { return Terminated(); })
{
}

TWatchDog::~TWatchDog()
{
    // The thread uses our members until its very end.
    Terminate();
    WaitFor();
}

void TWatchDog::Status(const std::string& text)
{
    {
        std::lock_guard guard(statusLock);
        statusText = text;
    }
    Synchronize([&] {
        if (!text.empty() && MainWindowReady() && !Terminated())
            Guarded([&] { Ui().Status(text); });
        if (!Terminated())
            Guarded([&] { Ui().Title(text); });
    });
}

std::string TWatchDog::StatusText() const
{
    std::lock_guard guard(statusLock);
    return statusText;
}

void TWatchDog::Animation(bool on)
{
    Synchronize([&] {
        if (MainWindowReady() && !Terminated())
            Guarded([&] { Ui().Animate(on); });
    });
}

void TWatchDog::Pause(int milliseconds)
{
    WaitOnMain([this] { return Terminated(); }, std::chrono::milliseconds(milliseconds));
}

void TWatchDog::Execute()
{
    std::string path = JoinPath(ProgramFolder(), "data/station.db");
    if (!WaitForStation(path))
        return;
    // Made here, so that its connection lives on this thread only.
    TQuery query(data.sesChange(), "WatchDogQuery");
    query.SetRequestLive(true);
    query.SetSQL({"Select * From \"" + path + "\"", "Where DesireDateTime < :DesireDateTime"});
    while (!Terminated()) {
        Poll(query);
        Animation(false);
    }
}

// A stop of the current site does not end this wait: there is no site yet, and polling a
// missing file would fail over and over.
bool TWatchDog::WaitForStation(const std::string& path)
{
    while (!FileExists(path) && !Terminated())
        Pause(ScheduleTimings().stationWaitMs);
    return !Terminated();
}

void TWatchDog::Poll(TQuery& query)
{
    bool idle = false;
    bool ran = false;
    try {
        query.Close();
        query.ParamByName("DesireDateTime").SetAsDateTime(Now());
        query.Open();
        idle = query.IsEmpty();
        if (!idle) {
            ran = true;
            RunEntry(query);
        }
    } catch (const std::exception&) {
        // A failed poll is not shown. Waiting as when idle keeps a table that fails every
        // time (deleted, damaged) from being polled in a busy loop.
        idle = true;
    }
    if (ran)
        RefreshStations();
    ClearCrawlLists();
    if (idle)
        Pause(ScheduleTimings().idlePollMs);
}

void TWatchDog::RunEntry(TQuery& query)
{
    TEntry entry;
    entry.depth = query.FieldByName("Depth").AsInteger();
    entry.url = query.FieldByName("URL").AsString();
    entry.alias = query.FieldByName("Alias").AsString();
    entry.quick = query.FieldByName("QuickMode").AsBoolean();
    entry.cross = query.FieldByName("Cross").AsBoolean();
    entry.kindSerial = query.FieldByName("kind_serial").AsInteger();
    entry.desired = query.FieldByName("desireDateTime").AsDateTime();
    bool goAhead = true;
    if (Settings().RemindForLoad) {
        bool asked = false;
        Synchronize([&] {
            // The window that waits for us to end must not get a question nobody will close:
            // a program that is closing asks nothing, and the entry stays due for next time.
            if (Terminated())
                return;
            asked = true;
            GrabState().StopFlag = false;
            goAhead = Ui().AskGrabNow(entry.url, ShortDateTimeText(entry.desired));
        });
        if (!asked)
            return;
    }
    TLog::Line("預約排程開始(" + entry.alias + "-" + entry.url + ")");
    Animation(goAhead);
    int result = kNoResult;
    std::exception_ptr failure;
    if (goAhead) {
        try {
            GrabEntry(entry, result);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    FinishEntry(query, entry, goAhead, result);
    if (failure)
        std::rethrow_exception(failure);
}

void TWatchDog::GrabEntry(const TEntry& entry, int& result)
{
    TGrabState& state = GrabState();
    // A stop ends one site only: left set, it would also cut the next site's dial short.
    state.StopFlag = false;
    state.SetCurrentSiteURL(entry.url);
    state.SetCurrentAlias(entry.alias);
    if (!EnsureConnection()) {
        TLog::Line("網路設定有誤");
        return;
    }
    state.SiteStart = Now();
    Status("準備下載: " + entry.url);
    result = runSite(entry.url, entry.depth, entry.cross, entry.quick, *this);
    Animation(false);
    std::string site = "(" + entry.alias + "-" + entry.url + ")";
    if (result == kCompleted) {
        RecordReading(entry);
        TLog::Line("下載成功" + site);
    } else if (result == kInterrupted) {
        RecordReading(entry);
        TLog::Line("下載中斷" + site);
    } else {
        TLog::Line("下載失敗" + site);
    }
}

void TWatchDog::FinishEntry(TQuery& query, const TEntry& entry, bool goAhead, int result)
{
    if (!Settings().USE_lan && goAhead && dialControl.Dialled()) {
        Status("嘗試掛斷撥號網路");
        dialControl.FinishingHangUp();
    }
    std::string ended = "預約排程結束(" + entry.alias + "-" + entry.url + ")";
    Status(ended);
    if (goAhead) {
        TLog::Line(ended);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        TLog::Line(std::string(60, '-'));
    }
    GrabState().SetCurrentSiteURL("");
    Advance(query, result);
}

// A declined entry, and one that found no connection, moves on as if it had run.
void TWatchDog::Advance(TQuery& query, int result)
{
    query.Edit();
    try {
        if (result == kCompleted)
            query.FieldByName("StatusCode").SetAsInteger(1);
        else if (result == kInterrupted)
            query.FieldByName("StatusCode").SetAsInteger(2);
        TField& next = query.FieldByName("NextDesireDateTime");
        TDateTime oldNext = next.AsDateTime();
        CivilTime at = DecodeDateTime(oldNext);
        TDateTime newNext = NextTime(next.AsString(), query.FieldByName("Frequency").AsString(),
                                     query.FieldByName("DayType").AsInteger(), at.hour, at.minute);
        query.FieldByName("desireDateTime").SetAsDateTime(oldNext);
        next.SetAsDateTime(newNext);
        query.FieldByName("overDateTime").SetAsDateTime(Now());
        query.Post();
    } catch (...) {
        // The entry stays due and runs again at the next poll.
        query.Cancel();
        throw;
    }
}

// On the main thread: the reading list is the main thread's table object.
void TWatchDog::RecordReading(const TEntry& entry)
{
    Synchronize([&] {
        TTable& see = data.seeTab();
        TReadingListView view(see);
        see.SetFiltered(false);
        try {
            if (see.Locate("URL", {entry.url}))
                see.Edit();
            else
                see.Append();
            see.FieldByName("last_date").SetAsDateTime(Today());
            see.FieldByName("URL").SetAsString(entry.url);
            see.FieldByName("Alias").SetAsString(entry.alias);
            see.FieldByName("kind_serial").SetAsInteger(entry.kindSerial);
            see.Post();
        } catch (const EAbort&) {
            // The user chose not to wait for the row that another window holds; the
            // row stays as it was, and nothing more is said.
        } catch (...) {
            see.Cancel();
            throw;
        }
    });
    if (Settings().RemindFetchOver)
        Synchronize([&] { Ui().SiteFinished(entry.url); });
}

void TWatchDog::RefreshStations()
{
    Synchronize([this] {
        // A list that cannot be read again keeps what it showed until its next refresh.
        Guarded([this] { data.tabStation().Refresh(); });
    });
}

void TWatchDog::ClearCrawlLists()
{
    Synchronize([] { UrlDatabase().ClearAll(); });
}
