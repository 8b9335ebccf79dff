#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/databasefile.h"
#include "data/datasetmodel.h"
#include "data/dmmain.h"
#include "data/sqliteconnection.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"

namespace {

const std::string kSeeds = std::string(ZANVIK_SOURCE_DIR) + "/resources/";

class DataSetModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SeedDatabaseFile(kSeeds + "kind.sql", home / "data/kind.db");
        SeedDatabaseFile(kSeeds + "favor.sql", home / "data/favor.db");
        dm = std::make_unique<TDMMain>();
    }

    void Add(const std::string& alias, const std::string& desire)
    {
        TTable& station = dm->tabStation();
        station.Append();
        station.FieldByName("Index").SetAsString(desire);
        station.FieldByName("Alias").SetAsString(alias);
        station.FieldByName("URL").SetAsString("http://" + alias + ".example/");
        station.FieldByName("Frequency").SetAsString("RdBDaily");
        station.FieldByName("desireDateTime").SetAsString(desire);
        station.FieldByName("NextDesireDateTime").SetAsString(desire);
        station.Post();
    }

    int Column(TDataSetModel& model, const std::string& title)
    {
        for (int column = 0; column < model.columnCount(); ++column)
            if (model.headerData(column, Qt::Horizontal).toString().toStdString() == title)
                return column;
        return -1;
    }

    TempFolder home;
    ScriptedUi ui;
    std::unique_ptr<TDMMain> dm;
};

TEST_F(DataSetModelTest, ShowsVisibleFieldsUnderTheirTitlesAndFollowsTheTable)
{
    TDataSetModel model(dm->tabStation());
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(Column(model, "抓取頻率"), -1);  // Frequency is hidden
    int alias = Column(model, "站台簡稱");
    int desire = Column(model, "預定下載時間");
    ASSERT_GE(alias, 0);
    ASSERT_GE(desire, 0);

    int resets = 0;
    std::vector<int> current;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(&model, &TDataSetModel::currentRowChanged, [&](int row) { current.push_back(row); });
    Add("late", "2024/07/10 08:00:00");
    Add("early", "2024/07/09 08:00:00");
    EXPECT_EQ(resets, 2);
    ASSERT_EQ(model.rowCount(), 2);
    // Ordered by the due time.
    EXPECT_EQ(model.data(model.index(0, alias)).toString().toStdString(), "early");
    EXPECT_EQ(model.data(model.index(0, desire)).toString().toStdString(), "2024/07/09 08:00:00");
    EXPECT_EQ(model.data(model.index(1, alias)).toString().toStdString(), "late");

    current.clear();
    dm->tabStation().First();
    dm->tabStation().Next();
    EXPECT_EQ(current, (std::vector<int>{0, 1}));

    int changes = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changes; });
    dm->tabStation().Edit();
    dm->tabStation().FieldByName("Alias").SetAsString("later");
    EXPECT_GE(changes, 1);
    EXPECT_EQ(model.data(model.index(1, alias)).toString().toStdString(), "later");
    dm->tabStation().Cancel();
    EXPECT_EQ(model.data(model.index(1, alias)).toString().toStdString(), "late");

    dm->tabStation().DisableControls();
    Add("third", "2024/07/11 08:00:00");
    EXPECT_EQ(resets, 2);
    dm->tabStation().EnableControls();
    EXPECT_EQ(resets, 3);
    EXPECT_EQ(model.rowCount(), 3);
}

TEST_F(DataSetModelTest, ValuesOfTheWrongTypeShowAsWellAsTheyCanAndNeverFail)
{
    // As the sqlite3 shell lets anyone store them.
    TSqliteConnection file(home / "data/station.db", "station");
    file.Exec("INSERT INTO station (\"Index\", desireDateTime, NextDesireDateTime, Alias, Depth, QuickMode, Cross)"
              " VALUES ('2024-07-09 08:00:00', 'soon', '2024-07-10 08:00:00', 'odd', 'deep', 'True', 'maybe')");
    dm->tabStation().Refresh();
    TDataSetModel model(dm->tabStation());
    ASSERT_EQ(model.rowCount(), 1);
    auto shown = [&](const std::string& title) {
        return model.data(model.index(0, Column(model, title))).toString().toStdString();
    };
    EXPECT_EQ(shown("快取模式"), "True");
    EXPECT_EQ(shown("跨台抓取"), "maybe");
    EXPECT_EQ(shown("抓取深度"), "deep");
    EXPECT_EQ(shown("預定下載時間"), "soon");
    EXPECT_EQ(shown("站台簡稱"), "odd");
}

TEST_F(DataSetModelTest, ChosenColumnsComeInTheirOrderWithTheirTitles)
{
    Add("site", "2024/07/09 08:00:00");
    TDataSetModel model(dm->tabStation());
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    model.SetColumns({{"URL", "", Qt::AlignLeft | Qt::AlignVCenter},
                      {"frequency", "頻率", Qt::AlignCenter},
                      {"no such field", "", Qt::AlignLeft}});
    EXPECT_EQ(resets, 1);
    ASSERT_EQ(model.columnCount(), 2);  // a hidden field can be chosen; an unknown one cannot
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString().toStdString(), "網頁位址");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString().toStdString(), "頻率");
    EXPECT_EQ(model.data(model.index(0, 0)).toString().toStdString(), "http://site.example/");
    EXPECT_EQ(model.data(model.index(0, 1)).toString().toStdString(), "RdBDaily");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_EQ(model.FieldOfColumn(1)->FieldName(), "Frequency");

    // The choice holds while the table is read again, and is given up with an empty list.
    dm->tabStation().Refresh();
    EXPECT_EQ(model.columnCount(), 2);
    model.SetColumns({});
    EXPECT_GT(model.columnCount(), 2);
}

}  // namespace
