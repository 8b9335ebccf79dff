#include <string>

#include <QAction>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "data/field.h"
#include "ui/categorytabs.h"
#include "ui/fmsearch.h"
#include "ui/listpage.h"
#include "ui/radiogroup.h"
#include "ui/schedulepage.h"
#include "ui/toolbarstrip.h"
#include "mainwindowkit.h"

namespace {

class SearchFromMainWindowTest : public ::testing::Test, public MainWindowFixture {
protected:
    // Opens "尋找資料" and, in the dialog, searches the source for the name and goes to the
    // one hit. A dialog that does not get so far is closed, so the test goes on.
    void GoToHit(int source, const QString& alias)
    {
        WhenModal([&](QWidget* modal) {
            auto* search = dynamic_cast<TfmSearch*>(modal);
            found = search;
            if (!search) {
                modal->close();
                return;
            }
            search->edtAlias->setText(alias);
            QRadioButton* item = search->RadioGroup1->Item(source);
            QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
            hits = search->Query1().Active() ? search->Query1().RecordCount() : -1;
            if (hits != 1) {
                search->reject();
                return;
            }
            QTest::mouseClick(search->btnGo, Qt::LeftButton);
        });
        Window().mnuSearch->trigger();
    }

    TfmSearch* found = nullptr;
    int hits = 0;
};

TEST_F(SearchFromMainWindowTest, GoingToAHitShowsItsPageWithTheRowCurrent)
{
    AddEntry({"經濟部", "http://www.moea.gov.tw/", HoursFromNow(24), 0, 1});
    AddEntry({"國立臺灣大學", "http://www.ntu.edu.tw/", HoursFromNow(25), 0, 7});
    AddEntry({"財政部", "http://www.mof.gov.tw/", HoursFromNow(26), 0, 1});
    Open();
    TfmMain& window = Window();
    window.PaintBoxClick(4);

    GoToHit(TfmSearch::srcPhoneBook, "國立臺灣大學");
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(hits, 1);
    EXPECT_FALSE(found->isVisible());
    EXPECT_EQ(window.FrontPage(), window.panTel);
    EXPECT_EQ(window.CurrentList(), TfmMain::lstTel);
    EXPECT_EQ(window.normalImage->Selected(), 3);
    EXPECT_EQ(window.panTel->TabSet()->currentIndex(), 7);
    EXPECT_EQ(Data().telStation().Filter(), "kind_Serial=7");
    EXPECT_EQ(Data().telStation().FieldByName("ALIAS").AsString(), "國立臺灣大學");

    // The schedule page shows category 1; the hit is in category 7, and the page ends on
    // all categories with the entry current.
    window.PaintBoxClick(2);
    window.panSchedule->TabSet()->setCurrentIndex(1);
    window.PaintBoxClick(4);
    TfmSearch* first = found;
    GoToHit(TfmSearch::srcSchedule, "臺灣");
    EXPECT_EQ(found, first);  // made once and kept
    ASSERT_EQ(hits, 1);
    EXPECT_EQ(window.FrontPage(), window.panSchedule);
    EXPECT_EQ(window.CurrentList(), TfmMain::lstSchedule);
    EXPECT_EQ(window.normalImage->Selected(), 2);
    EXPECT_EQ(window.panSchedule->TabSet()->currentIndex(), 0);
    EXPECT_EQ(Station().Filter(), "");
    EXPECT_EQ(Station().RecordCount(), 3);
    EXPECT_EQ(Station().FieldByName("URL").AsString(), "http://www.ntu.edu.tw/");
}

}  // namespace
