#include <filesystem>
#include <memory>
#include <string>

#include <QAction>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "data/table.h"
#include "net/dns.h"
#include "ui/categorytabs.h"
#include "ui/picturebutton.h"
#include "ui/readingpage.h"
#include "ui/recordscrollbar.h"
#include "mainwindowkit.h"

namespace {

class ReadingPageTest : public ::testing::Test, public MainWindowFixture {
protected:
    void SetUp() override
    {
        folder.Home().Write("dns.ini", "[www]\nwww.one.example=10.0.0.1\nwww.two.example=10.0.0.2\n");
        cache = std::make_unique<TDNS>();
        SetHostCache(cache.get());
        folder.Home().Write("wwwData/10.0.0.1/default.htm", "one");
        folder.Home().Write("wwwData/10.0.0.2/default.htm", "two");
        Grabbed("http://www.one.example/", "一");
        Grabbed("http://www.two.example/", "二");
    }
    void TearDown() override { SetHostCache(nullptr); }

    TTable& See() { return Data().seeTab(); }
    bool Stored(const std::string& server) { return std::filesystem::exists(folder.Home() / ("wwwData/" + server)); }
    void Opening(QMenu* menu) { emit menu->aboutToShow(); }
    void Click(int tag) { QTest::mouseClick(Window().PaintBox(tag), Qt::LeftButton); }

    void Grabbed(const std::string& url, const std::string& alias)
    {
        See().Append();
        See().FieldByName("last_date").SetAsDateTime(Today());
        See().FieldByName("URL").SetAsString(url);
        See().FieldByName("Alias").SetAsString(alias);
        See().FieldByName("kind_serial").SetAsInteger(2);
        See().Post();
    }

    std::unique_ptr<TDNS> cache;
};

TEST_F(ReadingPageTest, DeleteOnPopSeeRemovesTheRowAndItsStoredPages)
{
    Open();
    TReadingPage& page = *Window().panSee;
    EXPECT_EQ(Window().FrontPage(), &page);
    ASSERT_TRUE(page.ScrollBar()->isVisible());
    EXPECT_EQ(page.ScrollBar()->pageStep(), 12);
    ASSERT_TRUE(See().Locate("URL", {"http://www.one.example/"}));
    Opening(page.popSee);
    ASSERT_TRUE(page.popDelete->isEnabled());

    ui.Answer(true);
    page.popDelete->trigger();
    EXPECT_EQ(ui.Shown("ask"), (std::vector<std::string>{"確定要刪除掉這個網頁的所有資料"}));
    EXPECT_EQ(ui.Shown("busy"), (std::vector<std::string>{"正在刪掉網頁資料  請稍待", "hidden"}));
    EXPECT_EQ(See().RecordCount(), 1);
    EXPECT_FALSE(See().Locate("URL", {"http://www.one.example/"}));
    EXPECT_EQ(page.Grid()->model()->rowCount(), 1);
    EXPECT_EQ(page.Grid()->model()->index(0, 1).data().toString().toStdString(), "二");
    EXPECT_FALSE(Stored("10.0.0.1"));
    EXPECT_TRUE(Stored("10.0.0.2"));

    // The main menu's item does the same.
    Opening(Window().mnuFile);
    ASSERT_TRUE(Window().mnuFileDelete->isEnabled());
    ui.Answer(true);
    Window().mnuFileDelete->trigger();
    EXPECT_TRUE(See().IsEmpty());
    EXPECT_FALSE(Stored("10.0.0.2"));
    EXPECT_FALSE(page.ScrollBar()->isVisible());
    Opening(page.popSee);
    EXPECT_FALSE(page.popDelete->isEnabled());
    Opening(Window().mnuFile);
    EXPECT_FALSE(Window().mnuFileDelete->isEnabled());
}

TEST_F(ReadingPageTest, PopSeeOffersDeleteOnlyWhileTheReadingListIsCurrent)
{
    Open();
    TReadingPage& page = *Window().panSee;
    Click(3);
    Opening(page.popSee);
    EXPECT_FALSE(page.popDelete->isEnabled());
    // The options page leaves the current list as it was.
    Click(1);
    Click(4);
    Opening(page.popSee);
    EXPECT_TRUE(page.popDelete->isEnabled());
    // A category without grabbed sites.
    Click(1);
    page.TabSet()->setCurrentIndex(5);
    Opening(page.popSee);
    EXPECT_FALSE(page.popDelete->isEnabled());
    EXPECT_EQ(See().RecordCount(), 0);
    page.TabSet()->setCurrentIndex(2);
    Opening(page.popSee);
    EXPECT_TRUE(page.popDelete->isEnabled());
}

}  // namespace
