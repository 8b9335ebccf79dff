#include "schedulekit.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/urldatabase.h"
#include "data/databasefile.h"
#include "grab/grabstate.h"
#include "platform/profilefile.h"
#include "schedule/dialcontrol.h"
#include "schedule/scheduletimings.h"

namespace {

const std::string kSeeds = std::string(ZANVIK_SOURCE_DIR) + "/resources/";

}  // namespace

ScheduleFixture::ScheduleFixture()
{
    SeedDatabaseFile(kSeeds + "kind.sql", home / "data/kind.db");
    SeedDatabaseFile(kSeeds + "favor.sql", home / "data/favor.db");
    dm = std::make_unique<TDMMain>();
    saved = Settings();
    Settings() = TSettings();
    Settings().minVolumn = 0;  // the test machine's disk may be nearly full
    SetScheduleTimingsForTest({20, 20, 10, 10, 2});
    hostCache = std::make_unique<TDNS>();
    SetHostCache(hostCache.get());
    MainWindowReady() = true;
    GrabState().StopFlag = false;
    StartLog();
}

ScheduleFixture::~ScheduleFixture()
{
    ServeMainQueue();
    EndLog();
    SetHostCache(nullptr);
    UrlDatabase().ClearAll();
    dm.reset();
    MainWindowReady() = false;
    GrabState().StopFlag = false;
    GrabState().SetCurrentSiteURL("");
    ResetScheduleTimings();
    SetDialProgramForTest("");
    Settings() = saved;
    ::unsetenv("ZANVIK_RAS");
}

void ScheduleFixture::AddStation(const Entry& entry)
{
    TTable& station = dm->tabStation();
    station.Append();
    // Index is the key: rows made in the same second need keys of their own.
    station.FieldByName("Index").SetAsDateTime(EncodeDateTime({2024, 7, 1, 10, 0, ++added}));
    station.FieldByName("Alias").SetAsString(entry.alias);
    station.FieldByName("URL").SetAsString(entry.url);
    station.FieldByName("desireDateTime").SetAsDateTime(entry.desired);
    station.FieldByName("NextDesireDateTime").SetAsDateTime(entry.desired + 1);
    station.FieldByName("Frequency").SetAsString("RdBDaily");
    station.FieldByName("StatusCode").SetAsInteger(0);
    station.FieldByName("Depth").SetAsInteger(entry.depth);
    station.FieldByName("Cross").SetAsBoolean(entry.cross);
    station.FieldByName("QuickMode").SetAsBoolean(false);
    station.FieldByName("kind_serial").SetAsInteger(entry.kind);
    station.Post();
}

TTable& ScheduleFixture::Station(const std::string& alias)
{
    TTable& station = dm->tabStation();
    station.Refresh();
    EXPECT_TRUE(station.Locate("Alias", {alias})) << alias;
    return station;
}

bool ScheduleFixture::NothingDue()
{
    TTable& station = dm->tabStation();
    station.Refresh();
    for (station.First(); !station.Eof(); station.Next())
        if (station.FieldByName("desireDateTime").AsDateTime() < Now())
            return false;
    return true;
}

std::vector<std::string> ScheduleFixture::LogTexts()
{
    ServeMainQueue();
    std::vector<std::string> texts;
    for (const auto& entry : TProfileFile(home / "logfile.txt").ReadSectionValues("log"))
        texts.push_back(entry.second);
    return texts.size() >= 2 ? std::vector<std::string>(texts.begin() + 2, texts.end()) : texts;
}

void ScheduleFixture::UseDialOnTheSimulatedService()
{
    ::setenv("ZANVIK_RAS", "sim", 1);
    Settings().USE_lan = false;
}

TDateTime AnHourAgo()
{
    CivilTime time = DecodeDateTime(Now() - 1.0 / 24);
    time.millisecond = 0;
    return EncodeDateTime(time);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    return WaitOnMain(done, timeout);
}

int Count(const std::vector<std::string>& texts, const std::string& text)
{
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

bool InOrder(const std::vector<std::string>& texts, const std::vector<std::string>& wanted)
{
    auto from = texts.begin();
    for (const std::string& text : wanted) {
        from = std::find(from, texts.end(), text);
        if (from == texts.end())
            return false;
        ++from;
    }
    return true;
}
