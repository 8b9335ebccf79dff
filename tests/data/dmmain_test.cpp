#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/datetime.h"
#include "core/paths.h"
#include "core/text.h"
#include "data/databaseerror.h"
#include "data/databasefile.h"
#include "data/dmmain.h"
#include "data/query.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"

namespace {

const std::string kSeeds = std::string(ZANVIK_SOURCE_DIR) + "/resources/";

void AddStation(TTable& table, const std::string& index, const std::string& url, const std::string& alias)
{
    table.Append();
    table.FieldByName("Index").SetAsString(index);
    table.FieldByName("URL").SetAsString(url);
    table.FieldByName("Alias").SetAsString(alias);
    table.FieldByName("desireDateTime").SetAsString("2024/07/01 08:00:00");
    table.FieldByName("NextDesireDateTime").SetAsString("2024/07/02 08:00:00");
    table.FieldByName("Frequency").SetAsString("RdBDaily");
    table.FieldByName("kind_serial").SetAsInteger(1);
    table.Post();
}

// Runs one statement on a connection of its own, as another program would.
std::string Scalar(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string result = "(error)";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        result = "(none)";
        if (sqlite3_step(statement) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

struct FieldExpectation {
    std::string name;
    TFieldType type;
    int size;
    bool required;
};

void ExpectFields(TTable& table, const std::vector<FieldExpectation>& expected)
{
    int stored = 0;
    for (int i = 0; i < table.FieldCount(); ++i)
        if (!table.Fields(i).Calculated())
            ++stored;
    ASSERT_EQ(stored, static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const TField& field = table.Fields(static_cast<int>(i));
        EXPECT_EQ(field.FieldName(), expected[i].name);
        EXPECT_EQ(field.DataType(), expected[i].type) << expected[i].name;
        if (expected[i].type == TFieldType::String) {
            EXPECT_EQ(field.Size(), expected[i].size) << expected[i].name;
        }
        EXPECT_EQ(field.Required(), expected[i].required) << expected[i].name;
    }
}

std::vector<std::string> IndexText(const std::vector<TIndexDef>& defs)
{
    std::vector<std::string> text;
    for (const TIndexDef& def : defs)
        text.push_back(def.name + " " + def.field + (def.unique ? " unique" : "") + (def.descending ? " desc" : "")
                       + (def.caseInsensitive ? " nocase" : ""));
    std::sort(text.begin(), text.end());
    return text;
}

class DataModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SeedDatabaseFile(kSeeds + "kind.sql", Data("kind.db"));
        SeedDatabaseFile(kSeeds + "favor.sql", Data("favor.db"));
    }
    void TearDown() override { SetClockForTest({}); }

    std::string Data(const std::string& name) const { return home / ("data/" + name); }

    TempFolder home;
    ScriptedUi ui;
};

TEST_F(DataModuleTest, CreatesStationAndSeeWithTheirFieldsAndIndexes)
{
    TDMMain dm;
    ASSERT_TRUE(FileExists(Data("station.db")));
    ASSERT_TRUE(FileExists(Data("see.db")));
    EXPECT_EQ(Scalar(Data("station.db"), "PRAGMA journal_mode"), "wal");

    ExpectFields(dm.tabStation(), {
                                      {"Index", TFieldType::DateTime, 0, false},
                                      {"desireDateTime", TFieldType::DateTime, 0, false},
                                      {"overDateTime", TFieldType::DateTime, 0, false},
                                      {"StatusCode", TFieldType::Integer, 0, false},
                                      {"NextDesireDateTime", TFieldType::DateTime, 0, true},
                                      {"URL", TFieldType::String, 50, false},
                                      {"Alias", TFieldType::String, 30, false},
                                      {"Frequency", TFieldType::String, 12, false},
                                      {"DayType", TFieldType::Integer, 0, false},
                                      {"Depth", TFieldType::Integer, 0, false},
                                      {"QuickMode", TFieldType::Boolean, 0, false},
                                      {"Cross", TFieldType::Boolean, 0, false},
                                      {"kind_serial", TFieldType::Integer, 0, false},
                                  });
    EXPECT_EQ(IndexText(dm.tabStation().FileIndexDefs()),
              (std::vector<std::string>{"Alias1 Alias nocase", "Alias2 Alias desc nocase", "Index_ID Index unique",
                                        "URL1 URL nocase", "URL2 URL desc nocase",
                                        "desireDateTime_Index desireDateTime nocase"}));
    ExpectFields(dm.seeTab(), {
                                  {"Index", TFieldType::AutoInc, 0, false},
                                  {"last_date", TFieldType::Date, 0, false},
                                  {"URL", TFieldType::String, 50, false},
                                  {"Alias", TFieldType::String, 30, false},
                                  {"kind_serial", TFieldType::Integer, 0, false},
                              });
    EXPECT_EQ(IndexText(dm.seeTab().FileIndexDefs()),
              (std::vector<std::string>{"Alias1 Alias nocase", "Alias2 Alias desc nocase", "Index_ID Index unique",
                                        "URL1 URL nocase", "URL2 URL desc nocase"}));

    EXPECT_EQ(dm.tabStation().IndexName(), "desireDateTime_Index");
    EXPECT_TRUE(dm.tabStation().FieldByName("index_no").Calculated());
    EXPECT_EQ(dm.tabStation().FieldByName("index_no").DisplayLabel(), "序號");
    EXPECT_EQ(dm.tabStation().FieldByName("desireDateTime").DisplayLabel(), "預定下載時間");
    EXPECT_FALSE(dm.tabStation().FieldByName("Frequency").Visible());
    EXPECT_EQ(dm.seeTab().FieldByName("URL").DisplayLabel(), "網站位址");
    EXPECT_TRUE(dm.seeTab().FieldByName("show_date").Calculated());
    EXPECT_TRUE(dm.kindTab().Active());
    EXPECT_FALSE(dm.telStation().Active());
    EXPECT_TRUE(dm.tabForTel().Active());
    EXPECT_EQ(dm.tabForTel().Session().Name(), "seschange");
    EXPECT_TRUE(ui.Shown().empty());
}

TEST_F(DataModuleTest, SecondStartKeepsTheTablesAndTheirRows)
{
    {
        TDMMain dm;
        AddStation(dm.tabStation(), "2024/07/01 10:00:00", "http://www.ntu.edu.tw/", "臺大");
    }
    TDMMain dm;
    EXPECT_EQ(dm.tabStation().RecordCount(), 1);
    EXPECT_EQ(dm.tabStation().FieldByName("alias").AsString(), "臺大");
}

TEST_F(DataModuleTest, MissingShippedTablesFailWithTheFileNamed)
{
    std::filesystem::remove(Data("favor.db"));
    {
        TDMMain dm;  // the phone book is opened later, by the main window
        try {
            dm.telStation().Open();
            FAIL() << "favor.db opened";
        } catch (const EDatabaseError& error) {
            EXPECT_NE(std::string(error.what()).find(Data("favor.db")), std::string::npos) << error.what();
        }
    }
    std::filesystem::remove(Data("kind.db"));
    std::filesystem::remove(Data("station.db"));
    try {
        TDMMain dm;
        FAIL() << "kind.db opened";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find(Data("kind.db")), std::string::npos) << error.what();
    }
    EXPECT_FALSE(FileExists(Data("kind.db")));
    EXPECT_FALSE(FileExists(Data("station.db")));
}

TEST_F(DataModuleTest, DamagedStationIsReportedAndLeftAsItIs)
{
    auto expectRefused = [&](const std::string& reason) {
        std::string before = ReadFile(Data("station.db"));
        try {
            TDMMain dm;
            ADD_FAILURE() << reason << ": opened";
        } catch (const EDatabaseError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open table \"" + Data("station.db") + "\": " + reason);
        }
        EXPECT_EQ(ReadFile(Data("station.db")), before) << reason;
        EXPECT_FALSE(FileExists(Data("station.db-wal"))) << reason;
    };

    WriteFile(Data("station.db"), std::string(8192, 'x'));
    expectRefused("file is not a database");

    WriteFile(Data("station.db"), "");
    expectRefused("the file holds no table \"station\"");

    std::filesystem::remove(Data("station.db"));
    {
        TDMMain dm;
        for (int i = 0; i < 300; ++i)
            AddStation(dm.tabStation(), "2024/07/01 10:" + ZeroPad(i / 60, 2) + ":" + ZeroPad(i % 60, 2),
                       "http://site" + std::to_string(i) + ".example.com/some/longer/path/", "站台" + std::to_string(i));
    }
    long long size = FileSize(Data("station.db"));
    ASSERT_GT(size, 4 * 4096);
    std::filesystem::resize_file(Data("station.db"), static_cast<std::uintmax_t>(size / 2));
    expectRefused("database disk image is malformed");
}

TEST_F(DataModuleTest, PostInOneSessionIsSeenAtOnceByTheOther)
{
    TDMMain dm;
    AddStation(dm.tabStation(), "2024/07/01 10:00:00", "http://www.edu.tw/", "教育部");

    EXPECT_TRUE(dm.tabForTel().HasValue("url", "http://www.edu.tw/"));
    dm.tabForTel().Refresh();
    EXPECT_EQ(dm.tabForTel().RecordCount(), 1);
    EXPECT_EQ(Scalar(Data("station.db"), "SELECT Alias FROM station"), "教育部");

    TQuery query(dm.sesChange(), "query");
    query.SetSQL({"Select * From \"" + Data("station.db") + "\"", "Where DesireDateTime < :DesireDateTime"});
    query.ParamByName("desireDateTime").SetAsDateTime(EncodeDateTime({2024, 7, 1, 9, 0}));
    query.Open();
    EXPECT_EQ(query.RecordCount(), 1);
}

TEST_F(DataModuleTest, ShowDateIsTodayOrMonthSlashDay)
{
    SetClockForTest([] { return EncodeDateTime({2024, 7, 10, 9, 30}); });
    TDMMain dm;
    TTable& see = dm.seeTab();
    EXPECT_EQ(see.FieldByName("show_date").AsString(), "");

    auto add = [&](const std::string& url, const std::string& day) -> std::string {
        see.Append();
        see.FieldByName("URL").SetAsString(url);
        if (!day.empty())
            see.FieldByName("last_date").SetAsString(day);
        see.Post();
        if (!see.Locate("URL", {url}))
            return "(not found)";
        return see.FieldByName("show_date").AsString();
    };
    EXPECT_EQ(add("http://a/", "2024/07/10"), "今日");
    EXPECT_EQ(add("http://b/", "2024/03/07"), "03/07");
    EXPECT_EQ(add("http://c/", "2023/12/25"), "12/25");
    EXPECT_EQ(add("http://d/", ""), "");

    SetClockForTest([] { return EncodeDateTime({2024, 7, 11, 0, 5}); });
    see.Refresh();
    ASSERT_TRUE(see.Locate("URL", {"http://a/"}));
    EXPECT_EQ(see.FieldByName("show_date").AsString(), "07/10");
}

TEST_F(DataModuleTest, ScheduledTickOnlyForAnExactAddress)
{
    TDMMain dm;
    TTable& favor = dm.telStation();
    favor.Open();
    favor.Append();
    favor.FieldByName("ALIAS").SetAsString("臺大大寫");
    favor.FieldByName("URL").SetAsString("http://WWW.NTU.EDU.TW/");
    favor.FieldByName("KIND_SERIAL").SetAsInteger(7);
    favor.Post();
    AddStation(dm.tabStation(), "2024/07/01 10:00:00", "http://www.ntu.edu.tw/", "臺大");
    favor.Refresh();

    ASSERT_TRUE(favor.Locate("URL", {"http://www.ntu.edu.tw/"}));
    EXPECT_TRUE(favor.FieldByName("bCalSchedule").AsBoolean());
    EXPECT_EQ(favor.FieldByName("bCalSchedule").AsString(), "True");
    ASSERT_TRUE(favor.Locate("URL", {"http://WWW.NTU.EDU.TW/"}));
    EXPECT_FALSE(favor.FieldByName("bCalSchedule").AsBoolean());
    ASSERT_TRUE(favor.Locate("URL", {"http://www.nthu.edu.tw/"}));
    EXPECT_FALSE(favor.FieldByName("bCalSchedule").AsBoolean());
}

// Answers Yes and lets the other session go after the second question.
class ReleasingUi : public ScriptedUi {
public:
    explicit ReleasingUi(TDataSet& holder) : holder(holder) {}
    bool Ask(const std::string& text) override
    {
        ScriptedUi::Ask(text);
        if (++asked == 2)
            holder.Cancel();
        return true;
    }
    int asked = 0;

private:
    TDataSet& holder;
};

TEST_F(DataModuleTest, EditOfARowHeldByTheOtherSessionAsksUntilItIsFree)
{
    TDMMain dm;
    AddStation(dm.tabStation(), "2024/07/01 10:00:00", "http://www.moea.gov.tw/", "經濟部");
    TQuery query(dm.sesChange(), "query");
    query.SetRequestLive(true);
    query.SetSQL({"Select * From \"" + Data("station.db") + "\"", "Where DesireDateTime < :DesireDateTime"});
    query.ParamByName("DesireDateTime").SetAsDateTime(EncodeDateTime({2030, 1, 1}));
    query.Open();
    query.Edit();

    ReleasingUi releasing(query);
    dm.tabStation().Edit();
    EXPECT_EQ(releasing.asked, 2);
    EXPECT_EQ(releasing.Shown("ask"), (std::vector<std::string>(2, "排程資料庫鎖定中,是否再試一次")));
    EXPECT_EQ(dm.tabStation().State(), TDataSetState::Edit);

    // Now the main session holds it: the query cannot take it.
    EXPECT_THROW(query.Edit(), EDatabaseError);
    dm.tabStation().Cancel();
    query.Edit();
    EXPECT_EQ(query.State(), TDataSetState::Edit);
}

TEST_F(DataModuleTest, EditOfAHeldRowIsAbandonedSilentlyOnNo)
{
    TDMMain dm;
    dm.seeTab().Append();
    dm.seeTab().FieldByName("URL").SetAsString("http://www.npm.gov.tw/");
    dm.seeTab().Post();
    TTable other(dm.sesChange(), "other");
    other.SetTableName(Data("see.db"));
    other.Open();
    other.Edit();

    ui.Answer(true);
    ui.Answer(false);
    EXPECT_THROW(dm.seeTab().Edit(), EAbort);
    EXPECT_EQ(ui.Shown(), (std::vector<std::string>(2, "ask: 閱讀資料庫鎖定中,是否再試一次")));
    EXPECT_EQ(dm.seeTab().State(), TDataSetState::Browse);
}

TEST_F(DataModuleTest, FailedPostAndDeleteAreReportedAndStillFail)
{
    TDMMain dm;
    TTable& station = dm.tabStation();
    station.Append();
    station.FieldByName("URL").SetAsString("http://www.cdc.gov.tw/");
    EXPECT_THROW(station.Post(), EDatabaseError);  // NextDesireDateTime is required
    EXPECT_EQ(ui.Shown(), (std::vector<std::string>{"message: posttabStation發生錯誤"}));
    EXPECT_EQ(station.State(), TDataSetState::Insert);
    station.FieldByName("NextDesireDateTime").SetAsDateTime(EncodeDateTime({2024, 7, 2, 8, 0}));
    station.Post();
    EXPECT_EQ(station.RecordCount(), 1);

    TTable other(dm.sesChange(), "other");
    other.SetTableName(Data("station.db"));
    other.Open();
    other.Edit();
    ui.Clear();
    EXPECT_THROW(station.Delete(), EDatabaseError);
    EXPECT_EQ(ui.Shown(), (std::vector<std::string>{"message: 刪除時錯誤發生tabStation"}));
    EXPECT_EQ(station.RecordCount(), 1);
    other.Cancel();
    station.Delete();
    EXPECT_EQ(station.RecordCount(), 0);
}

TEST_F(DataModuleTest, RebuildRestoresDroppedIndexesAndReopens)
{
    TDMMain dm;
    dm.telStation().Open();
    Scalar(Data("station.db"), "DROP INDEX URL2");
    Scalar(Data("favor.db"), "DROP INDEX Alias1");
    Scalar(Data("see.db"), "DROP INDEX Index_ID");
    EXPECT_THROW(dm.tabStation().SetIndexName("URL2"), EDatabaseError);
    EXPECT_EQ(dm.tabStation().IndexName(), "desireDateTime_Index");

    dm.RebuildSeeIndexes();
    dm.RebuildStationIndexes();
    dm.RebuildFavorIndexes();
    EXPECT_TRUE(dm.seeTab().Active());
    EXPECT_TRUE(dm.tabStation().Active());
    EXPECT_TRUE(dm.telStation().Active());
    EXPECT_EQ(dm.tabStation().IndexName(), "desireDateTime_Index");
    dm.tabStation().SetIndexName("URL2");
    dm.telStation().SetIndexName("Alias1");
    EXPECT_EQ(IndexText(dm.seeTab().FileIndexDefs()).size(), 5u);
    EXPECT_EQ(IndexText(dm.telStation().FileIndexDefs()),
              (std::vector<std::string>{"Alias1 ALIAS nocase", "Alias2 ALIAS desc nocase", "Index Index unique",
                                        "URL1 URL nocase", "URL2 URL desc nocase"}));
}

TEST_F(DataModuleTest, TextsLongerThanTheirFieldAreCutToItsWidthInCharacters)
{
    TDMMain dm;
    std::string alias;
    for (int i = 0; i < 40; ++i)
        alias += "網";
    std::string url = "http://www.example.com/" + std::string(40, 'p');
    AddStation(dm.tabStation(), "2024/07/01 10:00:00", url, alias);

    std::string storedAlias;
    for (int i = 0; i < 30; ++i)
        storedAlias += "網";
    EXPECT_EQ(dm.tabStation().FieldByName("Alias").AsString(), storedAlias);
    EXPECT_EQ(dm.tabStation().FieldByName("URL").AsString(), url.substr(0, 50));
    EXPECT_EQ(Scalar(Data("station.db"), "SELECT length(Alias) || ' ' || length(URL) FROM station"), "30 50");
}

}  // namespace
