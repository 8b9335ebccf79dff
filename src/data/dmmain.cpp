#include "data/dmmain.h"

#include "core/datetime.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/userinterface.h"
#include "data/databaseerror.h"
#include "data/tabledefs.h"

namespace {

TDMMain* processModule = nullptr;

// The hooks may run while a worker uses a table object; the user is always asked on the
// main thread.
void ShowMessage(const std::string& text)
{
    Synchronize([&] { Ui().Message(text); });
}

bool AskUser(const std::string& text)
{
    bool answer = false;
    Synchronize([&] { answer = Ui().Ask(text); });
    return answer;
}

}  // namespace

TDMMain* DMMain()
{
    return processModule;
}

void SetDMMain(TDMMain* module)
{
    processModule = module;
}

TDMMain::TDMMain()
    : session("Default"),
      seschange("seschange"),
      kind(session, "kindTab"),
      favor(session, "telStation"),
      station(session, "tabStation"),
      forTel(seschange, "tabForTel"),
      see(session, "seeTab")
{
    Configure();
    std::string folder = DataFolder();
    kind.SetDatabaseName(folder);
    kind.SetTableName("kind.db");
    kind.Open();
    favor.SetDatabaseName(folder);
    favor.SetTableName("favor.db");
    station.SetTableName(JoinPath(folder, "station"));
    if (!FileExists(station.FilePath()))
        CreateStation();
    station.Open();
    forTel.SetDatabaseName(folder);
    forTel.SetTableName("station.db");
    forTel.Open();
    see.SetTableName(JoinPath(folder, "see"));
    if (!FileExists(see.FilePath()))
        CreateSee();
    see.Open();
    station.SetIndexName("desireDateTime_Index");
}

TDMMain::~TDMMain()
{
    for (TTable* table : {&kind, &station, &favor, &see, &forTel}) {
        try {
            table->Close();
        } catch (const std::exception&) {
            // Each table closes on its own, so one failure does not keep the others open.
        }
    }
}

std::string TDMMain::DataFolder() const
{
    return JoinPath(ProgramFolder(), "data");
}

void TDMMain::Configure()
{
    auto postError = [](TDataSet& table, const std::exception&) { ShowMessage("post" + table.Name() + "發生錯誤"); };
    auto deleteError = [](TDataSet& table, const std::exception&) {
        ShowMessage("刪除時錯誤發生" + table.Name());
    };
    for (TTable* table : {&kind, &favor, &station, &see}) {
        table->OnPostError = postError;
        table->OnDeleteError = deleteError;
    }
    favor.BeforeEdit = [this](TDataSet& table) { LockTest(table, "電話簿"); };
    station.BeforeEdit = [this](TDataSet& table) { LockTest(table, "排程"); };
    see.BeforeEdit = [this](TDataSet& table) { LockTest(table, "閱讀"); };

    for (TTable* table : {&favor, &station, &see})
        table->SetFiltered(true);

    favor.AddCalcField({"bCalSchedule", TFieldType::Boolean, 0, false});
    favor.AddCalcField({"index_no", TFieldType::Integer, 0, false});
    favor.OnCalcFields = [this](TDataSet& table) { CalcFavor(table); };
    favor.SetFieldTitle("BSchedule", "是否排程");
    favor.SetFieldTitle("ALIAS", "站台名稱");
    favor.SetFieldTitle("URL", "網頁位址");
    favor.SetFieldTitle("index_no", "序號");
    favor.SetIndexDefs(FavorIndexDefs());

    see.AddCalcField({"show_date", TFieldType::String, 5, false});
    see.AddCalcField({"index_no", TFieldType::Integer, 0, false});
    see.OnCalcFields = [this](TDataSet& table) { CalcSee(table); };
    see.SetFieldTitle("URL", "網站位址");
    see.SetFieldTitle("Alias", "站台簡稱");
    see.SetFieldTitle("index_no", "序號");
    see.SetFieldDefs(SeeFieldDefs());
    see.SetIndexDefs(SeeIndexDefs());

    station.AddCalcField({"index_no", TFieldType::Integer, 0, false});
    station.SetFieldTitle("URL", "網頁位址");
    station.SetFieldTitle("Alias", "站台簡稱");
    station.SetFieldTitle("DayType", "日期形式");
    station.SetFieldTitle("QuickMode", "快取模式");
    station.SetFieldTitle("Depth", "抓取深度");
    station.SetFieldTitle("Cross", "跨台抓取");
    station.SetFieldTitle("Frequency", "抓取頻率");
    station.SetFieldVisible("Frequency", false);
    station.SetFieldTitle("desireDateTime", "預定下載時間");
    station.SetFieldTitle("index_no", "序號");
    station.SetFieldDefs(StationFieldDefs());
    station.SetIndexDefs(StationIndexDefs());
}

void TDMMain::CreateStation()
{
    station.Close();
    try {
        ForceFolderOf(station.FilePath());
        station.CreateTable();
    } catch (const std::exception&) {
        // The user hears that the schedule could not be made; the open that follows fails
        // with the cause and the file's name.
        ShowMessage("產生ＴＡＢＳＴＡＴＩＯＮ有錯誤");
    }
}

void TDMMain::CreateSee()
{
    see.Close();
    try {
        ForceFolderOf(see.FilePath());
        see.CreateTable();
    } catch (const std::exception&) {
        // A failure here is not shown: the open that follows reports it with the file's name.
    }
}

// Waits, with the user's consent, until no other session holds the row in Edit state;
// EAbort when the user gives up.
void TDMMain::LockTest(TDataSet& table, const std::string& word)
{
    TRecordKey key = table.CurrentKey();
    while (!RecordLocks().TryLock(key, &table.Session()))
        if (!AskUser(word + "資料庫鎖定中,是否再試一次"))
            throw EAbort();
    RecordLocks().Unlock(key, &table.Session());
}

void TDMMain::CalcFavor(TDataSet& table)
{
    TField& url = table.FieldByName("URL");
    bool scheduled = !url.IsNull() && forTel.Active() && forTel.HasValue("URL", url.AsString());
    table.FieldByName("bCalSchedule").SetAsBoolean(scheduled);
}

void TDMMain::CalcSee(TDataSet& table)
{
    TField& last = table.FieldByName("last_date");
    std::string text;
    TDateTime day = 0;
    if (!last.IsNull() && TextToDateTime(last.AsString(), day)) {
        day = DatePart(day);
        CivilTime date = DecodeDateTime(day);
        text = day == Today() ? "今日" : ZeroPad(date.month, 2) + "/" + ZeroPad(date.day, 2);
    }
    table.FieldByName("show_date").SetAsString(text);
}

void TDMMain::RebuildSeeIndexes()
{
    see.Close();
    see.RebuildIndexes();
    see.Open();
}

void TDMMain::RebuildStationIndexes()
{
    station.Close();
    station.RebuildIndexes();
    station.Open();
}

// The Paradox index files the toolkit would delete have no counterpart: the indexes live
// inside favor.db and are dropped and made anew there.
void TDMMain::RebuildFavorIndexes()
{
    favor.Close();
    favor.RebuildIndexes();
    favor.Open();
}
