#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/paths.h"
#include "core/text.h"
#include "data/databaseerror.h"
#include "data/session.h"
#include "data/tabledefs.h"
#include "data/table.h"
#include "support/tempfolder.h"

namespace {

struct Row {
    std::string index, desire, url, alias;
    int kind;
};

// Three schedule rows, in the order they are added, whose orders differ by every index
// from the order they were added in; the address and name orders also tell a
// case-insensitive ordering from a plain one ("Banana" sorts before "apple" when letter
// case counts).
const std::vector<Row> kRows = {
    {"2024/07/01 10:00:01", "2024/07/02 08:00:00", "http://Banana.example/", "alpha", 2},
    {"2024/07/01 10:00:02", "2024/07/01 08:00:00", "http://cherry.example/", "gamma", 1},
    {"2024/07/01 10:00:00", "2024/07/03 08:00:00", "http://apple.example/", "Beta", 1},
};

class TableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.SetTableName(folder / "station");
        table.SetFieldDefs(StationFieldDefs());
        table.SetIndexDefs(StationIndexDefs());
        table.CreateTable();
        table.Open();
        for (const Row& row : kRows) {
            table.Append();
            table.FieldByName("index").SetAsString(row.index);
            table.FieldByName("DESIREDATETIME").SetAsString(row.desire);
            table.FieldByName("NextDesireDateTime").SetAsString(row.desire);
            table.FieldByName("url").SetAsString(row.url);
            table.FieldByName("alias").SetAsString(row.alias);
            table.FieldByName("kind_serial").SetAsInteger(row.kind);
            table.Post();
        }
    }

    std::vector<std::string> Aliases()
    {
        std::vector<std::string> seen;
        for (table.First(); !table.Eof(); table.Next())
            seen.push_back(table.FieldByName("Alias").AsString());
        return seen;
    }

    TempFolder folder{TempFolder::Use::Plain};
    TSession session{"Default"};
    TTable table{session, "tabStation"};
};

TEST_F(TableTest, EveryIndexOrdersTheRows)
{
    using Names = std::vector<std::string>;
    EXPECT_EQ(Aliases(), (Names{"alpha", "gamma", "Beta"}));  // the order they were added
    table.SetIndexName("Index_ID");
    EXPECT_EQ(Aliases(), (Names{"Beta", "alpha", "gamma"}));
    table.SetIndexName("desireDateTime_Index");
    EXPECT_EQ(Aliases(), (Names{"gamma", "alpha", "Beta"}));
    table.SetIndexName("url1");
    EXPECT_EQ(Aliases(), (Names{"Beta", "alpha", "gamma"}));
    EXPECT_EQ(table.IndexName(), "url1");
    table.SetIndexName("url2");
    EXPECT_EQ(Aliases(), (Names{"gamma", "alpha", "Beta"}));
    table.SetIndexName("alias1");
    EXPECT_EQ(Aliases(), (Names{"alpha", "Beta", "gamma"}));
    table.SetIndexName("alias2");
    EXPECT_EQ(Aliases(), (Names{"gamma", "Beta", "alpha"}));
    table.SetIndexName("");
    EXPECT_EQ(Aliases(), (Names{"alpha", "gamma", "Beta"}));

    table.SetIndexName("alias2");
    EXPECT_THROW(table.SetIndexName("Depth_Index"), EDatabaseError);
    EXPECT_EQ(table.IndexName(), "alias2");
    EXPECT_EQ(Aliases(), (Names{"gamma", "Beta", "alpha"}));
}

TEST_F(TableTest, FilterNarrowsToOneCategory)
{
    using Names = std::vector<std::string>;
    table.SetIndexName("Alias1");
    table.SetFilter("kind_Serial=1");
    EXPECT_EQ(table.RecordCount(), 3);  // not filtered yet
    table.SetFiltered(true);
    EXPECT_EQ(Aliases(), (Names{"Beta", "gamma"}));
    table.SetFilter("kind_Serial=2");
    EXPECT_EQ(Aliases(), (Names{"alpha"}));
    table.SetFilter("kind_Serial=10");
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.RecNo(), 0);
    table.SetFilter("");
    EXPECT_EQ(table.RecordCount(), 3);

    EXPECT_THROW(table.SetFilter("kind_Serial>2"), EDatabaseError);
    EXPECT_THROW(table.SetFilter("colour=2"), EDatabaseError);
    EXPECT_EQ(table.Filter(), "");
    EXPECT_EQ(table.RecordCount(), 3);

    // A row posted into a filtered view that it does not match leaves the view.
    table.SetFilter("kind_Serial=1");
    table.First();
    table.Edit();
    table.FieldByName("kind_serial").SetAsInteger(3);
    table.Post();
    EXPECT_EQ(Aliases(), (Names{"gamma"}));
}

TEST_F(TableTest, MovingAndLocating)
{
    table.SetIndexName("Alias1");
    table.First();
    EXPECT_TRUE(table.Bof());
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(table.MoveBy(2), 2);
    EXPECT_EQ(table.RecNo(), 3);
    EXPECT_FALSE(table.Eof());  // reached the last record, not past it
    table.Next();
    EXPECT_TRUE(table.Eof());
    table.First();
    EXPECT_EQ(table.MoveBy(5), 2);  // stops at the last record
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.FieldByName("alias").AsString(), "gamma");
    EXPECT_EQ(table.MoveBy(-1), -1);
    EXPECT_FALSE(table.Eof());
    table.SetRecNo(1);
    table.Prior();
    EXPECT_TRUE(table.Bof());
    table.Last();
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.RecNo(), 3);

    EXPECT_TRUE(table.Locate("URL;Alias", {"http://apple.example/", "Beta"}));
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_FALSE(table.Locate("URL", {"http://APPLE.example/"}));
    EXPECT_EQ(table.RecNo(), 2);  // a failed look-up does not move
    EXPECT_TRUE(table.Locate("url", {"http://APPLE.example/"}, {true, false}));
    EXPECT_TRUE(table.Locate("alias", {"gam"}, {false, true}));
    EXPECT_EQ(table.RecNo(), 3);
    EXPECT_THROW(table.Locate("nothing", {"x"}), EDatabaseError);
}

TEST_F(TableTest, StatesAndValueForms)
{
    table.SetIndexName("Alias1");
    table.First();
    EXPECT_THROW(table.FieldByName("Alias").SetAsString("x"), EDatabaseError);  // browse state
    EXPECT_THROW(table.FieldByName("Colour"), EDatabaseError);
    EXPECT_EQ(table.FieldByName("desiredatetime").AsString(), "2024/07/02 08:00:00");
    EXPECT_EQ(table.FieldByName("desireDateTime").AsDateTime(), EncodeDateTime({2024, 7, 2, 8, 0}));
    EXPECT_EQ(table.FieldByName("QuickMode").AsString(), "");
    EXPECT_FALSE(table.FieldByName("QuickMode").AsBoolean());

    table.Edit();
    table.FieldByName("QuickMode").SetAsBoolean(true);
    table.FieldByName("overDateTime").SetAsDateTime(EncodeDateTime({2024, 7, 9, 23, 15, 7, 800}));
    EXPECT_THROW(table.FieldByName("Depth").SetAsString("deep"), EConvertError);
    table.Cancel();
    EXPECT_FALSE(table.FieldByName("QuickMode").AsBoolean());

    table.Edit();
    table.FieldByName("QuickMode").SetAsBoolean(true);
    table.FieldByName("overDateTime").SetAsDateTime(EncodeDateTime({2024, 7, 9, 23, 15, 7, 800}));
    table.Post();
    EXPECT_EQ(table.FieldByName("QuickMode").AsString(), "True");
    EXPECT_EQ(table.FieldByName("overDateTime").AsString(), "2024/07/09 23:15:07");  // seconds kept, no fraction

    table.Append();
    table.Cancel();
    EXPECT_EQ(table.RecordCount(), 3);

    table.First();
    table.Delete();
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.FieldByName("Alias").AsString(), "Beta");  // the next record becomes current
}

TEST_F(TableTest, ScrollingPostsAModifiedRecord)
{
    table.SetIndexName("Alias1");
    table.First();
    table.Edit();
    table.FieldByName("Depth").SetAsInteger(4);
    table.Next();
    EXPECT_EQ(table.State(), TDataSetState::Browse);
    table.First();
    EXPECT_EQ(table.FieldByName("Depth").AsInteger(), 4);
}

TEST_F(TableTest, EditOfAnEmptyTableInserts)
{
    table.SetFilter("kind_Serial=9");
    table.SetFiltered(true);
    table.Edit();
    EXPECT_EQ(table.State(), TDataSetState::Insert);
}

TEST_F(TableTest, CreateTableNeverReplacesAFile)
{
    table.Close();
    long long size = FileSize(folder / "station.db");
    EXPECT_THROW(table.CreateTable(), EDatabaseError);
    EXPECT_EQ(FileSize(folder / "station.db"), size);
    table.Open();
    EXPECT_EQ(table.RecordCount(), 3);
}

}  // namespace
