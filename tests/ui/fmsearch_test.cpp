#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "core/settings.h"
#include "data/field.h"
#include "support/scriptedui.h"
#include "ui/dbedit.h"
#include "ui/fmsearch.h"
#include "ui/fmwww.h"
#include "ui/radiogroup.h"
#include "ui/recordscrollbar.h"
#include "ui/searchhost.h"
#include "ui/testgrid.h"
#include "uitestkit.h"

namespace {

// The main window as the search dialog sees it: the calls in order, the category tabs
// filtering the tables as the pages do, and a schedule dialog of its own.
class FakeSearchHost : public TSearchHost {
public:
    explicit FakeSearchHost(TDMMain& data) : data(data) {}

    void ShowPhoneBookPage() override { calls.push_back("phone book page"); }
    void SelectPhoneBookTab(int tab) override
    {
        calls.push_back("phone book tab " + std::to_string(tab));
        phoneBookTab = tab;
        data.telStation().SetFilter(FilterOf(tab));
    }
    void SelectScheduleTab(int tab) override
    {
        calls.push_back("schedule tab " + std::to_string(tab));
        scheduleTab = tab;
        data.tabStation().SetFilter(FilterOf(tab));
    }
    void ShowSchedulePage() override
    {
        calls.push_back("schedule page");
        SelectScheduleTab(0);
    }
    void OpenSite(const std::string& url) override { calls.push_back("open " + url); }
    TfmWWW& fmWWW() override
    {
        if (!scheduleDialog)
            scheduleDialog = std::make_unique<TfmWWW>(data);
        return *scheduleDialog;
    }

    static std::string FilterOf(int tab) { return tab > 0 ? "kind_Serial=" + std::to_string(tab) : ""; }

    TDMMain& data;
    std::vector<std::string> calls;
    int phoneBookTab = 0;
    int scheduleTab = 0;
    std::unique_ptr<TfmWWW> scheduleDialog;
};

class SearchDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = std::make_unique<TfmSearch>(Data(), host);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        QApplication::setActiveWindow(dialog.get());
    }

    void TearDown() override
    {
        Data().tabStation().Cancel();
        dialog.reset();
        Settings() = savedSettings;
    }

    TDMMain& Data() { return folder.Data(); }
    TQuery& Query() { return dialog->Query1(); }

    void AddStation(const std::string& alias, const std::string& url, int kind)
    {
        TTable& station = Data().tabStation();
        station.Append();
        char key[32];
        std::snprintf(key, sizeof key, "2024/07/01 10:%02d:%02d", added / 60, added % 60);
        ++added;
        station.FieldByName("Index").SetAsString(key);
        station.FieldByName("Alias").SetAsString(alias);
        station.FieldByName("URL").SetAsString(url);
        station.FieldByName("kind_serial").SetAsInteger(kind);
        station.FieldByName("desireDateTime").SetAsString("2024/07/10 08:00:00");
        station.FieldByName("NextDesireDateTime").SetAsString("2024/07/11 08:00:00");
        station.Post();
    }

    void Search(const QString& alias, const QString& url)
    {
        dialog->edtAlias->setText(alias);
        dialog->edtURL->setText(url);
        ui.Clear();
        QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
    }

    void ChooseSource(int source)
    {
        ui.Clear();
        QRadioButton* item = dialog->RadioGroup1->Item(source);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
    }

    void ClickTitle(int column)
    {
        QHeaderView* titles = dialog->TestGrid1->horizontalHeader();
        QPoint place(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2, titles->height() / 2);
        ui.Clear();
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, place);
    }

    std::vector<std::string> Column(const std::string& field)
    {
        std::vector<std::string> values;
        TField& column = Query().FieldByName(field);
        for (int row = 0; row < Query().RecordCount(); ++row)
            values.push_back(column.TextOf(Query().RowValue(row, column.Index())));
        return values;
    }

    // Makes the hit with this alias the current one, as a click on its row does.
    void ChooseHit(const std::string& alias)
    {
        ASSERT_TRUE(Query().Locate("alias", {alias}));
    }

    bool HitButtonsEnabled() const
    {
        return dialog->TestGrid1->isEnabled() && dialog->btnSchedule->isEnabled() && dialog->btnGo->isEnabled();
    }

    bool HitButtonsDisabled() const
    {
        return !dialog->TestGrid1->isEnabled() && !dialog->btnSchedule->isEnabled() && !dialog->btnGo->isEnabled();
    }

    int PhoneBookRows()
    {
        TTable& favor = Data().telStation();
        favor.SetFilter("");
        return favor.RecordCount();
    }

    ScriptedUi ui;
    DataFolder folder;
    FakeSearchHost host{folder.Data()};
    std::unique_ptr<TfmSearch> dialog;
    TSettings savedSettings = Settings();
    int added = 0;
};

TEST_F(SearchDialogTest, OpensOnThePhoneBookWithNothingListed)
{
    EXPECT_EQ(dialog->windowTitle(), "尋找資料");
    EXPECT_EQ(dialog->size(), QSize(792, 463));
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(dialog->RadioGroup1->ItemIndex(), TfmSearch::srcPhoneBook);
    EXPECT_EQ(dialog->RadioGroup1->Item(0)->text(), "排程區");
    EXPECT_EQ(dialog->RadioGroup1->Item(1)->text(), "電話簿區");
    EXPECT_EQ(dialog->edtAlias->maxLength(), 30);
    EXPECT_EQ(dialog->edtURL->maxLength(), 50);
    EXPECT_TRUE(HitButtonsDisabled());
    EXPECT_TRUE(dialog->btnOk->isEnabled());
    EXPECT_FALSE(dialog->ScrollBar4->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), dialog->edtAlias);
    EXPECT_FALSE(Query().Active());
}

TEST_F(SearchDialogTest, BothBoxesEmptyListEveryRowWithItsCategory)
{
    Search("", "");
    ASSERT_EQ(Query().RecordCount(), PhoneBookRows());
    EXPECT_EQ(Query().SQL(), (std::vector<std::string>{"Select kind_serial, url, Alias from \"Favor.db\"",
                                                        "where url like :url and alias like :alias"}));
    EXPECT_EQ(ui.Shown("busy"), (std::vector<std::string>{"尋找資料中  請稍待", "hidden"}));
    EXPECT_TRUE(HitButtonsEnabled());
    EXPECT_TRUE(dialog->ScrollBar4->isVisible());
    EXPECT_EQ(dialog->ScrollBar4->maximum(), Query().RecordCount());
    EXPECT_EQ(dialog->ScrollBar4->pageStep(), 10);
    EXPECT_EQ(Query().RecNo(), 1);

    ChooseHit("國立臺灣大學");
    EXPECT_EQ(Query().FieldByName("kind_text").AsString(), "教育事業");  // category 7
    ChooseHit("經濟部");
    EXPECT_EQ(Query().FieldByName("kind_text").AsString(), "工商產業");
    QAbstractItemModel* rows = dialog->TestGrid1->model();
    ASSERT_EQ(rows->columnCount(), 3);
    EXPECT_EQ(rows->headerData(0, Qt::Horizontal).toString(), "站台分類");
    EXPECT_EQ(rows->headerData(1, Qt::Horizontal).toString(), "站台簡稱");
    EXPECT_EQ(rows->headerData(2, Qt::Horizontal).toString(), "網站位址");
    EXPECT_EQ(rows->data(rows->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_EQ(dialog->TestGrid1->horizontalHeader()->sectionSize(1), 249);
    EXPECT_EQ(dialog->TestGrid1->horizontalHeader()->sectionSize(2), 415);
}

TEST_F(SearchDialogTest, TheSourceSwitchSearchesAtOnceWithTheBoxesAsTheyAre)
{
    AddStation("國立臺灣大學", "http://www.ntu.edu.tw/", 7);
    AddStation("國立臺灣師範大學", "http://www.ntnu.edu.tw/", 7);
    AddStation("經濟部", "http://www.moea.gov.tw/", 1);
    dialog->edtAlias->setText("國立臺灣");
    ChooseSource(TfmSearch::srcSchedule);
    EXPECT_EQ(ui.Shown("busy").size(), 2u);
    EXPECT_NE(Query().SQLText().find("\"station.db\""), std::string::npos);
    std::vector<std::string> aliases = Column("alias");
    std::sort(aliases.begin(), aliases.end());
    EXPECT_EQ(aliases, (std::vector<std::string>{"國立臺灣大學", "國立臺灣師範大學"}));

    ChooseSource(TfmSearch::srcPhoneBook);
    EXPECT_NE(Query().SQLText().find("\"Favor.db\""), std::string::npos);
    EXPECT_EQ(Query().RecordCount(), 4);
}

TEST_F(SearchDialogTest, TitlesSortByNameAndAddressInTurnAndANewSearchIsUnorderedAgain)
{
    Search("", ".edu.tw");
    std::vector<std::string> unordered = Column("url");
    ASSERT_GT(unordered.size(), 3u);

    ClickTitle(1);
    EXPECT_EQ(Query().SQL().back(), "order by alias");
    EXPECT_EQ(dialog->SortState(), TfmSearch::sortAlias);
    EXPECT_EQ(ui.Shown("busy"), (std::vector<std::string>{"資料排序中  請稍待", "hidden"}));
    std::vector<std::string> aliases = Column("alias");
    EXPECT_TRUE(std::is_sorted(aliases.begin(), aliases.end()));
    EXPECT_EQ(Query().RecordCount(), static_cast<int>(unordered.size()));  // the boxes still apply

    ClickTitle(1);
    EXPECT_EQ(Query().SQL().back(), "order by alias desc");
    EXPECT_EQ(Query().SQL().size(), 3u);
    aliases = Column("alias");
    EXPECT_TRUE(std::is_sorted(aliases.rbegin(), aliases.rend()));

    ClickTitle(2);
    EXPECT_EQ(Query().SQL().back(), "order by url");
    ClickTitle(2);
    EXPECT_EQ(Query().SQL().back(), "order by url desc");
    EXPECT_EQ(Query().SQL().size(), 3u);
    std::vector<std::string> urls = Column("url");
    EXPECT_TRUE(std::is_sorted(urls.rbegin(), urls.rend()));

    ClickTitle(0);  // the category title does not sort
    EXPECT_EQ(Query().SQL().back(), "order by url desc");
    EXPECT_TRUE(ui.Shown("busy").empty());

    Search("", ".edu.tw");
    EXPECT_EQ(Query().SQL().size(), 2u);
    EXPECT_EQ(dialog->SortState(), TfmSearch::sortNone);
    EXPECT_EQ(Column("url"), unordered);
    ClickTitle(1);
    EXPECT_EQ(Query().SQL().back(), "order by alias");  // not desc: the order started anew
}

TEST_F(SearchDialogTest, WhatIsTypedNeverChangesTheQuery)
{
    AddStation("O'Brien's shop", "http://www.obrien.example/", 1);
    AddStation("back\\slash", "http://www.back.example/a\\b", 2);
    AddStation("' OR '1'='1", "http://www.or.example/", 3);
    AddStation("say \"select\"", "http://www.select.example/", 4);
    AddStation("plain", "http://www.plain.example/", 5);
    dialog->RadioGroup1->SetItemIndex(TfmSearch::srcSchedule);
    auto aliases = [&](const QString& alias, const QString& url) {
        Search(alias, url);
        return Query().Active() ? Column("alias") : std::vector<std::string>{"not open"};
    };

    EXPECT_EQ(aliases("'", ""), (std::vector<std::string>{"O'Brien's shop", "' OR '1'='1"}));
    EXPECT_EQ(aliases("' OR '1'='1", ""), (std::vector<std::string>{"' OR '1'='1"}));
    EXPECT_EQ(aliases("%' OR 1=1 --", ""), std::vector<std::string>{});
    EXPECT_EQ(aliases("\\", ""), (std::vector<std::string>{"back\\slash"}));
    EXPECT_EQ(aliases("", "a\\b"), (std::vector<std::string>{"back\\slash"}));
    EXPECT_EQ(aliases("\"select\"", ""), (std::vector<std::string>{"say \"select\""}));
    EXPECT_EQ(aliases("select", ""), (std::vector<std::string>{"say \"select\""}));
    EXPECT_EQ(aliases("\"; drop table station; --", ""), std::vector<std::string>{});
    EXPECT_EQ(aliases(":alias", ""), std::vector<std::string>{});
    EXPECT_TRUE(ui.Shown("error").empty()) << ui.Shown("error").front();
    // "%" and "_" are LIKE's wildcards.
    EXPECT_EQ(aliases("p_a%n", "").size(), 1u);
    EXPECT_EQ(Data().tabStation().RecordCount(), 5);
}

TEST_F(SearchDialogTest, NoHitsSaysSoAndLeavesTheHitsDisabled)
{
    Search("", "");
    ASSERT_TRUE(HitButtonsEnabled());
    Search("沒有這個站", "");
    EXPECT_EQ(ui.Shown("message"), (std::vector<std::string>{"沒有符合你要搜尋的資料!"}));
    EXPECT_TRUE(HitButtonsDisabled());
    EXPECT_FALSE(dialog->ScrollBar4->isVisible());
}

TEST_F(SearchDialogTest, TheBusyWindowGoesAlsoWhenTheQueryFails)
{
    std::string favor = folder.Home() / "data/favor.db";
    ASSERT_EQ(std::rename(favor.c_str(), (favor + ".away").c_str()), 0);
    Search("", "");
    EXPECT_EQ(ui.Shown("busy"), (std::vector<std::string>{"尋找資料中  請稍待", "hidden"}));
    ASSERT_EQ(ui.Shown("error").size(), 1u);
    EXPECT_NE(ui.Shown("error").front().find("avor.db"), std::string::npos) << ui.Shown("error").front();
    EXPECT_TRUE(HitButtonsDisabled());
    EXPECT_TRUE(ui.Shown("message").empty());
}

TEST_F(SearchDialogTest, PutOnScheduleRefusesASiteScheduledInAnyCategory)
{
    // The schedule page shows category 1; the site is scheduled under category 5, its
    // address written another way.
    AddStation("經濟部全球資訊網", "HTTP://WWW.MOEA.GOV.TW", 5);
    host.SelectScheduleTab(1);
    int shown = Data().tabStation().RecordCount();
    Search("", "moea");
    ASSERT_EQ(Query().RecordCount(), 1);
    ui.Clear();
    QTest::mouseClick(dialog->btnSchedule, Qt::LeftButton);
    EXPECT_EQ(ui.Shown("message"), (std::vector<std::string>{"已經存在預約排程中了"}));
    EXPECT_EQ(host.scheduleDialog, nullptr);
    EXPECT_EQ(Data().tabStation().State(), TDataSetState::Browse);
    EXPECT_EQ(Data().tabStation().RecordCount(), shown);
}

TEST_F(SearchDialogTest, PutOnScheduleFillsTheScheduleDialogAndPostsOnOk)
{
    Settings().idefaultDepth = 3;
    Settings().bdefaultCross = true;
    Search("國立臺灣大學", "");
    ASSERT_EQ(Query().RecordCount(), 1);
    std::string url = Query().FieldByName("url").AsString();

    WhenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, host.scheduleDialog.get());
        EXPECT_EQ(host.scheduleDialog->EdtLayout->text(), "3");
        EXPECT_EQ(host.scheduleDialog->dbEdtURL->text().toStdString(), url);
        host.scheduleDialog->BtnCancel->click();
    });
    QTest::mouseClick(dialog->btnSchedule, Qt::LeftButton);
    EXPECT_EQ(Data().tabStation().State(), TDataSetState::Browse);
    EXPECT_EQ(Data().tabStation().RecordCount(), 0);

    WhenModal([&](QWidget*) { host.scheduleDialog->BtnOK->click(); });
    QTest::mouseClick(dialog->btnSchedule, Qt::LeftButton);
    TTable& station = Data().tabStation();
    ASSERT_EQ(station.RecordCount(), 1);
    EXPECT_EQ(station.FieldByName("URL").AsString(), url);
    EXPECT_EQ(station.FieldByName("Alias").AsString(), "國立臺灣大學");
    EXPECT_EQ(station.FieldByName("kind_serial").AsInteger(), 7);
    EXPECT_TRUE(station.FieldByName("Cross").AsBoolean());
    EXPECT_EQ(station.FieldByName("Depth").AsInteger(), 3);
    TTable& favor = Data().telStation();
    ASSERT_TRUE(favor.Locate("URL", {url}));
    EXPECT_TRUE(favor.FieldByName("bCalSchedule").AsBoolean());  // the phone book was read again

    ui.Clear();
    QTest::mouseClick(dialog->btnSchedule, Qt::LeftButton);
    EXPECT_EQ(ui.Shown("message"), (std::vector<std::string>{"已經存在預約排程中了"}));
}

TEST_F(SearchDialogTest, GoFromTheScheduleEndsOnAllCategoriesWithTheEntryCurrent)
{
    AddStation("經濟部", "http://www.moea.gov.tw/", 1);
    AddStation("國立臺灣大學", "http://www.ntu.edu.tw/", 8);
    AddStation("國立臺灣大學", "http://www.ntu.edu.tw/other", 8);
    AddStation("財政部", "http://www.mof.gov.tw/", 1);
    host.SelectScheduleTab(1);
    host.calls.clear();
    dialog->RadioGroup1->SetItemIndex(TfmSearch::srcSchedule);
    Search("臺灣", "other");
    ASSERT_EQ(Query().RecordCount(), 1);

    QTest::mouseClick(dialog->btnGo, Qt::LeftButton);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"schedule tab 8", "schedule page", "schedule tab 0"}));
    TTable& station = Data().tabStation();
    EXPECT_EQ(station.Filter(), "");
    EXPECT_EQ(station.RecordCount(), 4);
    EXPECT_EQ(station.FieldByName("URL").AsString(), "http://www.ntu.edu.tw/other");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(SearchDialogTest, GoFromThePhoneBookShowsTheHitsCategoryWithTheSiteCurrent)
{
    Search("國立臺灣", "");
    ChooseHit("國立臺灣大學");
    std::string url = Query().FieldByName("url").AsString();
    QTest::mouseClick(dialog->btnGo, Qt::LeftButton);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"phone book page", "phone book tab 7"}));
    TTable& favor = Data().telStation();
    EXPECT_EQ(favor.Filter(), "kind_Serial=7");
    EXPECT_EQ(favor.FieldByName("URL").AsString(), url);
    EXPECT_EQ(favor.FieldByName("ALIAS").AsString(), "國立臺灣大學");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(SearchDialogTest, GoWithoutHitsSaysThereIsNothingToGoTo)
{
    dialog->btnGoClick();
    EXPECT_EQ(ui.Shown("message"), (std::vector<std::string>{"沒有資料項可供對應"}));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(SearchDialogTest, ADoubleClickOpensTheSiteAndCloses)
{
    AddStation("無位址", "", 2);
    dialog->RadioGroup1->SetItemIndex(TfmSearch::srcSchedule);
    Search("無位址", "");
    ASSERT_EQ(Query().RecordCount(), 1);
    dialog->TestGrid1DblClick();
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls.front().rfind("open http://", 0), 0u) << host.calls.front();
    EXPECT_NE(host.calls.front(), "open http://");
    EXPECT_FALSE(dialog->isVisible());

    host.calls.clear();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    dialog->RadioGroup1->SetItemIndex(TfmSearch::srcPhoneBook);
    Search("經濟部", "");
    QPoint cell = dialog->TestGrid1->visualRect(dialog->TestGrid1->model()->index(0, 1)).center();
    QTest::mouseClick(dialog->TestGrid1->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(dialog->TestGrid1->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"open http://www.moea.gov.tw/"}));
}

TEST_F(SearchDialogTest, RowKeysGoThroughTheRecordScrollBar)
{
    Search("", "");
    int count = Query().RecordCount();
    ASSERT_GT(count, 20);
    dialog->TestGrid1->setFocus();
    QTest::keyClick(dialog->TestGrid1, Qt::Key_PageDown);
    EXPECT_EQ(Query().RecNo(), 11);
    EXPECT_EQ(dialog->ScrollBar4->value(), 11);
    QTest::keyClick(dialog->TestGrid1, Qt::Key_End);
    EXPECT_EQ(Query().RecNo(), count);
    QTest::keyClick(dialog->TestGrid1, Qt::Key_Up);
    EXPECT_EQ(Query().RecNo(), count - 1);
    QTest::keyClick(dialog->TestGrid1, Qt::Key_Home);
    EXPECT_EQ(Query().RecNo(), 1);
    EXPECT_EQ(dialog->ScrollBar4->value(), 1);

    // A press on a row moves the record, and the bar follows it.
    QTest::mouseClick(dialog->TestGrid1->viewport(), Qt::LeftButton, {},
                      dialog->TestGrid1->visualRect(dialog->TestGrid1->model()->index(4, 1)).center());
    EXPECT_EQ(Query().RecNo(), 5);
    EXPECT_EQ(dialog->ScrollBar4->value(), 5);
}

}  // namespace
