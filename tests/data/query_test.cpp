#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/datetime.h"
#include "data/databaseerror.h"
#include "data/databasefile.h"
#include "data/dmmain.h"
#include "data/query.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"

namespace {

const std::string kSeeds = std::string(ZANVIK_SOURCE_DIR) + "/resources/";

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SeedDatabaseFile(kSeeds + "kind.sql", home / "data/kind.db");
        SeedDatabaseFile(kSeeds + "favor.sql", home / "data/favor.db");
        dm = std::make_unique<TDMMain>();
    }

    void AddStation(const std::string& alias, const std::string& desire, const std::string& next)
    {
        TTable& station = dm->tabStation();
        station.Append();
        station.FieldByName("Index").SetAsString("2024/07/01 10:00:0" + std::to_string(++added));
        station.FieldByName("Alias").SetAsString(alias);
        station.FieldByName("URL").SetAsString("http://" + alias + ".example/");
        station.FieldByName("desireDateTime").SetAsString(desire);
        station.FieldByName("NextDesireDateTime").SetAsString(next);
        station.FieldByName("StatusCode").SetAsInteger(0);
        station.Post();
    }

    // The scheduler's poll: the station file named by its full path, due before now.
    void Poll(TQuery& query, TDateTime now)
    {
        query.Close();
        query.ParamByName("desireDateTime").SetAsDateTime(now);
        query.Open();
    }

    TempFolder home;
    ScriptedUi ui;
    std::unique_ptr<TDMMain> dm;
    int added = 0;
};

TEST_F(QueryTest, SchedulerPollFindsDueRowsAndAdvancesThem)
{
    AddStation("late", "2024/07/10 08:00:00", "2024/07/11 08:00:00");
    AddStation("early", "2024/07/09 08:00:00", "2024/07/10 08:00:00");
    AddStation("future", "2024/07/10 12:00:00", "2024/07/11 12:00:00");
    TQuery query(dm->sesChange(), "query");
    query.SetRequestLive(true);
    query.SetSQL({"Select * From \"" + dm->tabStation().FilePath() + "\"", "Where DesireDateTime < :DesireDateTime"});
    ASSERT_EQ(query.ParamCount(), 1);

    TDateTime now = EncodeDateTime({2024, 7, 10, 9, 30});
    Poll(query, now);
    ASSERT_EQ(query.RecordCount(), 2);
    EXPECT_EQ(query.FieldByName("alias").AsString(), "late");  // the order the rows were added

    query.Edit();
    query.FieldByName("StatusCode").SetAsInteger(1);
    query.FieldByName("desireDateTime").SetAsString(query.FieldByName("NextDesireDateTime").AsString());
    query.FieldByName("overDateTime").SetAsDateTime(now);
    query.Post();
    EXPECT_EQ(query.FieldByName("desireDateTime").AsString(), "2024/07/11 08:00:00");

    Poll(query, now);
    ASSERT_EQ(query.RecordCount(), 1);
    EXPECT_EQ(query.FieldByName("alias").AsString(), "early");

    dm->tabStation().Refresh();
    ASSERT_TRUE(dm->tabStation().Locate("Alias", {"late"}));
    EXPECT_EQ(dm->tabStation().FieldByName("StatusCode").AsInteger(), 1);
    EXPECT_EQ(dm->tabStation().FieldByName("overDateTime").AsString(), "2024/07/10 09:30:00");
}

TEST_F(QueryTest, SearchOverThePhoneBookWithLikeAndOrder)
{
    TQuery query(dm->Session(), "Query1");
    query.SetDatabaseName(dm->DataFolder());
    std::vector<std::string> sql = {"Select kind_serial, url, Alias from \"Favor.db\"",
                                    "where url like :url and alias like :alias"};
    query.SetSQL(sql);
    query.AddCalcField({"kind_text", TFieldType::String, 8, false});
    query.OnCalcFields = [&](TDataSet& rows) {
        std::string text;
        if (dm->kindTab().Locate("kind_serial", {rows.FieldByName("kind_serial").AsString()}))
            text = dm->kindTab().FieldByName("text").AsString();
        rows.FieldByName("kind_text").SetAsString(text);
    };
    auto search = [&](const std::string& url, const std::string& alias) {
        query.Close();
        query.ParamByName("url").SetAsString("%" + url + "%");
        query.ParamByName("alias").SetAsString("%" + alias + "%");
        query.Open();
        return query.RecordCount();
    };

    dm->telStation().Open();
    EXPECT_EQ(search("", ""), dm->telStation().RecordCount());
    ASSERT_EQ(search("ntu.edu", ""), 1);
    EXPECT_EQ(query.FieldByName("Alias").AsString(), "國立臺灣大學");
    EXPECT_EQ(query.FieldByName("kind_text").AsString(), "教育事業");
    EXPECT_EQ(search("", "國立臺灣"), 4);
    EXPECT_EQ(search("nothing-like-this", ""), 0);

    sql.push_back("order by url desc");
    query.SetSQL(sql);
    search(".edu.tw", "國立");
    std::vector<std::string> urls;
    for (query.First(); !query.Eof(); query.Next())
        urls.push_back(query.FieldByName("url").AsString());
    ASSERT_GE(urls.size(), 5u);
    EXPECT_TRUE(std::is_sorted(urls.rbegin(), urls.rend()));

    EXPECT_THROW(query.Edit(), EDatabaseError);  // not a live query
    EXPECT_THROW(query.ParamByName("kind"), EDatabaseError);
}

TEST_F(QueryTest, QueryNamingAMissingOrDamagedFileFailsWithTheName)
{
    TQuery query(dm->Session(), "Query1");
    query.SetDatabaseName(dm->DataFolder());
    query.SetSQL({"Select * from \"nothere.db\""});
    try {
        query.Open();
        FAIL() << "opened";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("nothere.db"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(query.Active());
}

}  // namespace

// The search dialog sorts its hits in memory; the order must be the one SQLite's ORDER BY
// gives, so a new search and a sort never disagree.
TEST_F(QueryTest, RowsReorderedInMemoryComeInTheOrderOfSqlitesOrderBy)
{
    TTable& favor = dm->telStation();
    favor.Open();
    for (const char* alias : {"Zeta", "abc", "ABC", "", "國立", "same", "b", "same", "abc "}) {
        favor.Append();
        favor.FieldByName("KIND_SERIAL").SetAsInteger(1);
        favor.FieldByName("ALIAS").SetAsString(alias);
        favor.FieldByName("URL").SetAsString(std::string("http://") + (*alias ? alias : "empty") + ".example/");
        favor.Post();
    }
    favor.Append();
    favor.FieldByName("KIND_SERIAL").SetAsInteger(2);
    favor.Post();  // no alias, no address

    const std::vector<std::string> base = {"Select kind_serial, url, Alias from \"Favor.db\""};
    auto column = [](TQuery& query, const std::string& field) {
        std::vector<TValue> values;
        for (query.First(); !query.Eof(); query.Next())
            values.push_back(query.FieldByName(field).Value());
        return values;
    };
    for (const auto& [line, field, descending] : {std::tuple{"order by alias", "alias", false},
                                                  std::tuple{"order by alias desc", "alias", true},
                                                  std::tuple{"order by url", "url", false},
                                                  std::tuple{"order by url desc", "url", true}}) {
        std::vector<std::string> ordered = base;
        ordered.push_back(line);
        TQuery bySqlite(dm->Session(), "bySqlite");
        bySqlite.SetDatabaseName(dm->DataFolder());
        bySqlite.SetSQL(ordered);
        bySqlite.Open();

        TQuery held(dm->Session(), "held");
        held.SetDatabaseName(dm->DataFolder());
        held.SetSQL(base);
        held.Open();
        held.Last();
        held.ReorderRows(ordered, field, descending);
        EXPECT_EQ(held.SQL(), ordered);
        EXPECT_TRUE(held.Bof());  // the first row is current, as after opening
        EXPECT_EQ(column(held, field), column(bySqlite, field)) << line;

        // Read again, the query gives its rows in the same order.
        std::vector<TValue> before = column(held, field);
        held.Refresh();
        EXPECT_EQ(column(held, field), before) << line;
    }
}

TEST_F(QueryTest, AReorderKeepsTheParametersAndRefusesLinesThatChangeThem)
{
    TQuery query(dm->Session(), "Query1");
    query.SetDatabaseName(dm->DataFolder());
    std::vector<std::string> sql = {"Select kind_serial, url, Alias from \"Favor.db\"", "where url like :url"};
    query.SetSQL(sql);
    EXPECT_THROW(query.ReorderRows(sql, "url", false), EDatabaseError);  // not open
    query.ParamByName("url").SetAsString("%.edu.tw%");
    query.Open();
    int hits = query.RecordCount();
    ASSERT_GE(hits, 2);

    std::vector<std::string> ordered = sql;
    ordered.push_back("order by url desc");
    query.ReorderRows(ordered, "url", true);
    query.Refresh();
    EXPECT_EQ(query.RecordCount(), hits);
    EXPECT_EQ(query.ParamByName("url").Value(), TValue(std::string("%.edu.tw%")));

    std::vector<std::string> widened = {sql[0], "where url like :url or alias like :alias"};
    EXPECT_THROW(query.ReorderRows(widened, "url", false), EDatabaseError);
    EXPECT_EQ(query.SQL(), ordered);
    EXPECT_THROW(query.ReorderRows(sql, "no_such_field", false), EDatabaseError);
    EXPECT_EQ(query.SQL(), ordered);
    query.Refresh();
    EXPECT_EQ(query.RecordCount(), hits);
}
