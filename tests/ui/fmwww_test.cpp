#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "core/datetime.h"
#include "data/field.h"
#include "support/scriptedui.h"
#include "ui/dbcheckbox.h"
#include "ui/dbedit.h"
#include "ui/dblookupcombobox.h"
#include "ui/fmwww.h"
#include "ui/radiogroup.h"
#include "ui/updown.h"
#include "uitestkit.h"

namespace {

TDateTime At(int year, int month, int day, int hour, int minute, int second = 0)
{
    return EncodeDateTime({year, month, day, hour, minute, second});
}

void SetNow(TDateTime moment)
{
    SetClockForTest([moment] { return moment; });
}

// The fields that OK writes, as the row holds them ("" for none).
const std::vector<std::string> kWrittenOnOk = {"Index", "Frequency", "DayType", "Depth", "QuickMode",
                                              "desireDateTime", "NextDesireDateTime"};

class ScheduleDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Wednesday the 10th of July 2024, 10:00.
        SetNow(At(2024, 7, 10, 10, 0));
        WritePicture(folder.Home(), "info.bmp", QSize(16, 16), Qt::blue);
        dialog = std::make_unique<TfmWWW>(folder.Data());
    }

    void TearDown() override
    {
        Station().Cancel();
        dialog.reset();
        SetClockForTest({});
    }

    TTable& Station() { return folder.Data().tabStation(); }
    std::string Stored(const std::string& field) { return Station().FieldByName(field).AsString(); }

    // A new entry as the schedule page makes it, the dialog up and active.
    void NewEntry(int kind = 1)
    {
        Station().Append();
        Station().FieldByName("kind_serial").SetAsInteger(kind);
        Station().FieldByName("Cross").SetAsBoolean(false);
        Station().FieldByName("StatusCode").SetAsInteger(0);
        dialog->Prepare();
        dialog->EdtLayout->setText("1");
        Show();
    }

    void Show()
    {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        QApplication::setActiveWindow(dialog.get());
    }

    void Type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    // Focus to another control of the window.
    void Leave(QWidget* box)
    {
        QWidget* other = box == dialog->edtTime ? static_cast<QWidget*>(dialog->edtTime1) : dialog->edtTime;
        if (dialog->PanStation->isAncestorOf(box))
            other = box == dialog->dbEdtAlias ? static_cast<QWidget*>(dialog->dbEdtURL) : dialog->dbEdtAlias;
        other->setFocus();
    }

    void FillSite(const QString& alias, const QString& url)
    {
        dialog->dbEdtAlias->setText(alias);
        dialog->dbEdtURL->setText(url);
    }

    // Saves a new entry of the given site with OK and posts it as the caller does.
    void SaveNew(const QString& alias, int kind = 1)
    {
        NewEntry(kind);
        FillSite(alias, "www.example.com/" + alias);
        dialog->BtnOK->click();
        ASSERT_FALSE(dialog->isVisible());
        Station().Post();
    }

    void ExpectNothingWritten()
    {
        for (const std::string& field : kWrittenOnOk)
            EXPECT_TRUE(Station().FieldByName(field).IsNull()) << field;
    }

    void ClickOption(QRadioButton* option)
    {
        // On the indicator, clear of the boxes laid over the caption.
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }

    ScriptedUi ui;
    DataFolder folder;
    std::unique_ptr<TfmWWW> dialog;
};

TEST_F(ScheduleDialogTest, PrepareShowsTheSiteTabAndStartsFromTodayAndNow)
{
    dialog->TabControl1->setCurrentIndex(1);
    NewEntry();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "排程管理");
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dialog->TabControl1->currentWidget(), dialog->PanStation);
    EXPECT_EQ(dialog->TabControl1->tabText(0).toStdString(), "站名");
    EXPECT_EQ(dialog->TabControl1->tabText(1).toStdString(), "設定");
    EXPECT_EQ(QApplication::focusWidget(), dialog->dbEdtAlias);
    EXPECT_EQ(dialog->CmBWeekly->currentText().toStdString(), "星期三");
    EXPECT_EQ(dialog->edtMonthly->text().toStdString(), "10");
    EXPECT_EQ(dialog->edtOther->text().toStdString(), "7");
    EXPECT_EQ(dialog->edtOther1->text().toStdString(), "10");
    EXPECT_EQ(dialog->edtTime->text().toStdString(), "10");
    EXPECT_EQ(dialog->edtTime1->text().toStdString(), "0");
    EXPECT_TRUE(dialog->RdBDaily->isChecked());
    EXPECT_EQ(dialog->RdGMode->ItemIndex(), 1);
    EXPECT_EQ(dialog->dbCmbType->currentText().toStdString(), "工商產業");

    // On the 29th of a leap February both day boxes start at the 28th, the last day they take.
    dialog->hide();
    SetNow(At(2024, 2, 29, 23, 59));
    dialog->RdBOther->setChecked(true);
    dialog->Prepare();
    EXPECT_EQ(dialog->CmBWeekly->currentText().toStdString(), "星期四");
    EXPECT_EQ(dialog->edtMonthly->text().toStdString(), "28");
    EXPECT_EQ(dialog->edtOther->text().toStdString(), "2");
    EXPECT_EQ(dialog->edtOther1->text().toStdString(), "28");
    EXPECT_EQ(dialog->edtTime->text().toStdString(), "23");
    EXPECT_EQ(dialog->edtTime1->text().toStdString(), "59");
    EXPECT_TRUE(dialog->RdBDaily->isChecked());
    EXPECT_FALSE(dialog->edtOther->isEnabled());
}

TEST_F(ScheduleDialogTest, TheAddressGetsALowerCaseHttpPrefixOnLeaveAndOnOk)
{
    NewEntry();
    Type(dialog->dbEdtURL, "HTTP://WWW.Example.com/Path?Q=1");
    Leave(dialog->dbEdtURL);
    EXPECT_EQ(dialog->dbEdtURL->text().toStdString(), "http://WWW.Example.com/Path?Q=1");
    EXPECT_EQ(Stored("URL"), "http://WWW.Example.com/Path?Q=1");

    Type(dialog->dbEdtURL, "www.Example.com/A");
    Leave(dialog->dbEdtURL);
    EXPECT_EQ(dialog->dbEdtURL->text().toStdString(), "http://www.Example.com/A");

    // A secure address keeps its scheme.
    Type(dialog->dbEdtURL, "Https://Secure.Example.com/B");
    Leave(dialog->dbEdtURL);
    EXPECT_EQ(dialog->dbEdtURL->text().toStdString(), "https://Secure.Example.com/B");

    dialog->dbEdtURL->clear();
    Leave(dialog->dbEdtURL);
    EXPECT_TRUE(dialog->dbEdtURL->text().isEmpty());

    // Never left: OK puts the prefix in before the row is written.
    dialog->dbEdtAlias->setText("範例");
    dialog->dbEdtURL->setText("Http://example.org/Index.html");
    dialog->BtnOK->click();
    EXPECT_FALSE(dialog->isVisible());
    Station().Post();
    EXPECT_EQ(Stored("URL"), "http://example.org/Index.html");
}

TEST_F(ScheduleDialogTest, ChoosingARepetitionEnablesOnlyItsBoxes)
{
    NewEntry();
    dialog->TabControl1->setCurrentWidget(dialog->PanSetup);
    auto enabled = [&] {
        return std::vector<bool>{dialog->CmBWeekly->isEnabled(), dialog->edtMonthly->isEnabled(),
                                 dialog->edtOther->isEnabled(), dialog->edtOther1->isEnabled()};
    };
    using Enabled = std::vector<bool>;
    EXPECT_EQ(enabled(), Enabled({false, false, false, false}));
    ClickOption(dialog->RdBWeekly);
    EXPECT_TRUE(dialog->RdBWeekly->isChecked());
    EXPECT_EQ(enabled(), Enabled({true, false, false, false}));
    ClickOption(dialog->RdBMonthly);
    EXPECT_EQ(enabled(), Enabled({false, true, false, false}));
    ClickOption(dialog->RdBOther);
    EXPECT_EQ(enabled(), Enabled({false, false, true, true}));
    ClickOption(dialog->RdBDaily);
    EXPECT_EQ(enabled(), Enabled({false, false, false, false}));
    // A caller filling the dialog from a row checks an option in code; the boxes follow.
    dialog->RdBMonthly->setChecked(true);
    EXPECT_EQ(enabled(), Enabled({false, true, false, false}));
}

TEST_F(ScheduleDialogTest, EveryNumberBoxKeepsItsRangeOnLeaveAndOnEnter)
{
    NewEntry();
    dialog->TabControl1->setCurrentWidget(dialog->PanSetup);
    dialog->RdBOther->setChecked(true);
    dialog->edtOther->setText("7");
    struct Case {
        QLineEdit* box;
        const char* typed;
        const char* kept;
    };
    const std::vector<Case> cases = {
        {dialog->edtOther, "13", "12"}, {dialog->edtOther, "0", "1"},     {dialog->edtOther, "07", "7"},
        {dialog->edtOther1, "32", "31"}, {dialog->edtOther1, "0", "1"},   {dialog->edtTime, "24", "23"},
        {dialog->edtTime, "00", "0"},    {dialog->edtTime1, "60", "59"},  {dialog->edtTime1, "5", "5"},
        {dialog->EdtLayout, "9", "5"},   {dialog->EdtLayout, "0", "0"},
    };
    for (bool byEnter : {false, true}) {
        for (const Case& c : cases) {
            Type(c.box, c.typed);
            if (byEnter)
                QTest::keyClick(c.box, Qt::Key_Return);
            else
                Leave(c.box);
            EXPECT_EQ(c.box->text().toStdString(), c.kept) << c.typed << (byEnter ? " Enter" : " leave");
        }
    }
    dialog->RdBMonthly->setChecked(true);
    for (auto [typed, kept] : {std::pair{"29", "28"}, std::pair{"0", "1"}, std::pair{"15", "15"}}) {
        Type(dialog->edtMonthly, typed);
        Leave(dialog->edtMonthly);
        EXPECT_EQ(dialog->edtMonthly->text().toStdString(), kept);
        Type(dialog->edtMonthly, typed);
        QTest::keyClick(dialog->edtMonthly, Qt::Key_Enter);
        EXPECT_EQ(dialog->edtMonthly->text().toStdString(), kept);
    }
    // Enter keeps the range and nothing more: the dialog is still open, no warning.
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(ui.Shown().empty());
    // Only digits can be typed.
    Type(dialog->edtTime, "a1b");
    EXPECT_EQ(dialog->edtTime->text().toStdString(), "1");
}

TEST_F(ScheduleDialogTest, TheDayOfAYearlyEntryFollowsItsMonthInAYearThatIsNotALeapYear)
{
    NewEntry();
    dialog->TabControl1->setCurrentWidget(dialog->PanSetup);
    ClickOption(dialog->RdBOther);
    Type(dialog->edtOther1, "30");
    Leave(dialog->edtOther1);
    EXPECT_EQ(dialog->edtOther1->text().toStdString(), "30");
    Type(dialog->edtOther, "2");
    EXPECT_EQ(dialog->edtOther1->text().toStdString(), "28");
    Type(dialog->edtOther1, "29");
    QTest::keyClick(dialog->edtOther1, Qt::Key_Return);
    EXPECT_EQ(dialog->edtOther1->text().toStdString(), "28");
    Type(dialog->edtOther, "4");
    Type(dialog->edtOther1, "31");
    Leave(dialog->edtOther1);
    EXPECT_EQ(dialog->edtOther1->text().toStdString(), "30");
    EXPECT_TRUE(ui.Shown().empty());

    // Without a month the user hears to fill it first; the day keeps the last month's range.
    dialog->edtOther->clear();
    Type(dialog->edtOther1, "31");
    Leave(dialog->edtOther1);
    EXPECT_EQ(ui.Shown(), std::vector<std::string>({"warning: 請先填月份"}));
    EXPECT_EQ(dialog->edtOther1->text().toStdString(), "30");
}

TEST_F(ScheduleDialogTest, TheDepthStepsFromZeroToFiveWithoutWrapping)
{
    NewEntry();
    dialog->TabControl1->setCurrentWidget(dialog->PanSetup);
    dialog->EdtLayout->setText("4");
    dialog->UDLayout->UpButton()->click();
    EXPECT_EQ(dialog->EdtLayout->text().toStdString(), "5");
    dialog->UDLayout->UpButton()->click();
    EXPECT_EQ(dialog->EdtLayout->text().toStdString(), "5");
    dialog->EdtLayout->setText("1");
    dialog->UDLayout->DownButton()->click();
    dialog->UDLayout->DownButton()->click();
    EXPECT_EQ(dialog->EdtLayout->text().toStdString(), "0");
    dialog->EdtLayout->setFocus();
    QTest::keyClick(dialog->EdtLayout, Qt::Key_Up);
    QTest::keyClick(dialog->EdtLayout, Qt::Key_Up);
    EXPECT_EQ(dialog->EdtLayout->text().toStdString(), "2");
}

TEST_F(ScheduleDialogTest, EachRefusalOfOkKeepsTheDialogOpenWithNothingWritten)
{
    NewEntry();
    auto refused = [&](const std::string& warning, QWidget* box) {
        ui.Clear();
        dialog->BtnOK->click();
        EXPECT_EQ(ui.Shown(), std::vector<std::string>({"warning: " + warning}));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), box) << warning;
        ExpectNothingWritten();
    };
    refused("請輸入網頁位址和網站名稱", dialog->dbEdtAlias);
    dialog->dbEdtAlias->setText("名稱");
    refused("請輸入網頁位址", dialog->dbEdtURL);
    dialog->dbEdtAlias->clear();
    dialog->dbEdtURL->setText("www.example.com");
    refused("請輸入網站簡名稱", dialog->dbEdtAlias);

    // An address longer than its field is refused whole, never cut.
    dialog->dbEdtAlias->setText("長位址");
    std::string rest = "www.example.com/" + std::string(30, 'x');  // 53 with the prefix
    dialog->dbEdtURL->setText(QString::fromStdString(rest));
    refused("網頁位址不可超過50個字元,請縮短網頁位址", dialog->dbEdtURL);
    EXPECT_EQ(dialog->dbEdtURL->text().toStdString(), "http://" + rest);
    dialog->dbEdtURL->setText("http://www.example.com/");

    // A box of the chosen repetition or the time without a number is named.
    dialog->edtTime->clear();
    refused("請在小時欄填入數字", dialog->edtTime);
    EXPECT_EQ(dialog->TabControl1->currentWidget(), dialog->PanSetup);
    dialog->edtTime->setText("9");
    dialog->EdtLayout->setText("x");
    refused("請在層次欄填入數字", dialog->EdtLayout);
    dialog->EdtLayout->setText("2");
    dialog->RdBOther->setChecked(true);
    dialog->edtOther1->clear();
    refused("請在日期欄填入數字", dialog->edtOther1);
    // The boxes of another repetition do not count.
    dialog->RdBMonthly->setChecked(true);
    dialog->edtOther->clear();
    dialog->edtMonthly->setText("");
    refused("請在每月的日期欄填入數字", dialog->edtMonthly);
    dialog->edtMonthly->setText("3");
    ui.Clear();
    dialog->BtnOK->click();
    EXPECT_TRUE(ui.Shown().empty());
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ScheduleDialogTest, ADailyEntrySavedAtTenForNineIsDueAtOnceAndNextTomorrowAtNine)
{
    NewEntry();
    FillSite("經濟部", "www.moea.gov.tw/");
    dialog->edtTime->setText("9");
    dialog->edtTime1->setText("0");
    dialog->EdtLayout->setText("2");
    dialog->RdGMode->SetItemIndex(0);
    dialog->BtnOK->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    Station().Post();

    ASSERT_TRUE(Station().Locate("Alias", {"經濟部"}));
    EXPECT_EQ(Stored("Index"), "2024/07/10 10:00:00");
    EXPECT_EQ(Stored("Frequency"), "RdBDaily");
    EXPECT_TRUE(Station().FieldByName("DayType").IsNull());
    EXPECT_EQ(Stored("Depth"), "2");
    EXPECT_EQ(Stored("QuickMode"), "True");
    EXPECT_EQ(Stored("Cross"), "False");
    EXPECT_EQ(Stored("kind_serial"), "1");
    EXPECT_EQ(Stored("StatusCode"), "0");
    EXPECT_EQ(Stored("desireDateTime"), "2024/07/10 09:00:00");
    EXPECT_LT(Station().FieldByName("desireDateTime").AsDateTime(), Now());
    EXPECT_EQ(Stored("NextDesireDateTime"), "2024/07/11 09:00:00");
}

TEST_F(ScheduleDialogTest, OkWritesTheDayTypeOfEachRepetition)
{
    struct Case {
        QRadioButton* option;
        std::function<void()> fill;
        const char* frequency;
        int dayType;
        const char* desire;
        const char* next;
    };
    const std::vector<Case> cases = {
        {dialog->RdBWeekly, [&] { dialog->CmBWeekly->setCurrentIndex(5); }, "RdBWeekly", 6,
         "2024/07/12 08:30:00", "2024/07/19 08:30:00"},
        {dialog->RdBMonthly, [&] { dialog->edtMonthly->setText("5"); }, "RdBMonthly", 5,
         "2024/08/05 08:30:00", "2024/09/05 08:30:00"},
        {dialog->RdBOther,
         [&] {
             dialog->edtOther->setText("12");
             dialog->edtOther1->setText("25");
         },
         "RdBOther", 1225, "2024/12/25 08:30:00", "2025/12/25 08:30:00"},
    };
    int number = 0;
    for (const Case& c : cases) {
        NewEntry();
        QString alias = QString("站%1").arg(++number);
        FillSite(alias, "example.com/" + alias);
        c.option->setChecked(true);
        c.fill();
        dialog->edtTime->setText("8");
        dialog->edtTime1->setText("30");
        dialog->BtnOK->click();
        ASSERT_FALSE(dialog->isVisible()) << c.frequency;
        Station().Post();
        ASSERT_TRUE(Station().Locate("Alias", {alias.toStdString()}));
        EXPECT_EQ(Stored("Frequency"), c.frequency);
        EXPECT_EQ(Station().FieldByName("DayType").AsInteger(), c.dayType);
        EXPECT_EQ(Stored("QuickMode"), "False");
        EXPECT_EQ(Stored("Depth"), "1");
        EXPECT_EQ(Stored("desireDateTime"), c.desire);
        EXPECT_EQ(Stored("NextDesireDateTime"), c.next);
    }
}

TEST_F(ScheduleDialogTest, AWeeklyEntryReopenedShowsItsWeekdayAndTimeAndKeepsItsKey)
{
    NewEntry();
    FillSite("週報", "example.com/weekly");
    dialog->RdBWeekly->setChecked(true);
    dialog->CmBWeekly->setCurrentIndex(5);
    dialog->edtTime->setText("7");
    dialog->edtTime1->setText("45");
    dialog->EdtLayout->setText("3");
    dialog->BtnOK->click();
    Station().Post();

    // The change command: edit, Prepare, then the controls from the row.
    ASSERT_TRUE(Station().Locate("Alias", {"週報"}));
    Station().Edit();
    dialog->Prepare();
    dialog->RdGMode->SetItemIndex(Station().FieldByName("QuickMode").AsBoolean() ? 0 : 1);
    dialog->EdtLayout->setText(QString::number(Station().FieldByName("Depth").AsInteger()));
    CivilTime due = DecodeDateTime(Station().FieldByName("desireDateTime").AsDateTime());
    dialog->edtTime->setText(QString::number(due.hour));
    dialog->edtTime1->setText(QString::number(due.minute));
    int dayType = Station().FieldByName("DayType").AsInteger();
    dialog->RdBWeekly->setChecked(true);
    dialog->CmBWeekly->setCurrentIndex(dayType - 1);
    Show();

    EXPECT_TRUE(dialog->RdBWeekly->isChecked());
    EXPECT_TRUE(dialog->CmBWeekly->isEnabled());
    EXPECT_EQ(dialog->CmBWeekly->currentText().toStdString(), "星期五");
    EXPECT_EQ(dialog->edtTime->text().toStdString(), "7");
    EXPECT_EQ(dialog->edtTime1->text().toStdString(), "45");
    EXPECT_EQ(dialog->EdtLayout->text().toStdString(), "3");
    EXPECT_EQ(dialog->RdGMode->ItemIndex(), 1);
    EXPECT_EQ(dialog->dbEdtAlias->text().toStdString(), "週報");

    // Changed in the second it was made, the entry keeps its moment: no other row has it.
    dialog->BtnOK->click();
    ASSERT_FALSE(dialog->isVisible());
    Station().Post();
    EXPECT_EQ(Station().RecordCount(), 1);
    EXPECT_EQ(Stored("Index"), "2024/07/10 10:00:00");
}

TEST_F(ScheduleDialogTest, EntriesMadeInTheSameSecondEachTakeTheNextFreeMoment)
{
    SaveNew("一");
    SaveNew("二");
    // A row of another category counts too, though the filter hides it.
    Station().SetFilter("kind_Serial=1");
    SaveNew("三", 2);
    SaveNew("四", 1);
    Station().SetFilter("");
    auto indexOf = [&](const char* alias) {
        EXPECT_TRUE(Station().Locate("Alias", {alias}));
        return Stored("Index");
    };
    EXPECT_EQ(Station().RecordCount(), 4);
    EXPECT_EQ(indexOf("一"), "2024/07/10 10:00:00");
    EXPECT_EQ(indexOf("二"), "2024/07/10 10:00:01");
    EXPECT_EQ(indexOf("三"), "2024/07/10 10:00:02");
    EXPECT_EQ(indexOf("四"), "2024/07/10 10:00:03");

    // A changed entry moves to now when that is free, and past the moments others hold.
    SetNow(EncodeDateTime({2024, 7, 10, 10, 0, 1, 400}));
    indexOf("四");
    Station().Edit();
    Show();
    dialog->BtnOK->click();
    Station().Post();
    EXPECT_EQ(indexOf("四"), "2024/07/10 10:00:03");
    indexOf("一");
    Station().Edit();
    Show();
    dialog->BtnOK->click();
    Station().Post();
    EXPECT_EQ(indexOf("一"), "2024/07/10 10:00:04");
    EXPECT_TRUE(ui.Shown().empty());
}

TEST_F(ScheduleDialogTest, ExecEndsAcceptedOnOkAndRejectedOnCancel)
{
    Station().Append();
    dialog->Prepare();
    WhenModal([&](QWidget*) {
        dialog->dbEdtAlias->setText("名稱");
        dialog->dbEdtURL->setText("example.com");
        dialog->BtnOK->click();
    });
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    Station().Cancel();

    Station().Append();
    dialog->Prepare();
    WhenModal([&](QWidget*) { dialog->BtnCancel->click(); });
    EXPECT_EQ(dialog->exec(), QDialog::Rejected);
    ExpectNothingWritten();
}

TEST_F(ScheduleDialogTest, TheHelpButtonsExplainModeCrossSiteAndLevel)
{
    NewEntry();
    dialog->btnHelpMode->click();
    dialog->btnHelpCross->click();
    dialog->btnHelpLayout->click();
    EXPECT_EQ(ui.Shown(),
              std::vector<std::string>({
                  "message: 快速下載模式\r\n\r\n只會下載文字資料,\r\n圖檔,聲音檔等均不下載\r\n有效節省下載時間",
                  "message: 必須指定跨台抓取才能抓取跨不同網站的超連結",
                  "message: 內定的抓取層級為0, 表示只抓首頁\r\n若層級為1,則表示首頁的每一個超連結都必須抓取,\r\n以此類推",
              }));
}

TEST_F(ScheduleDialogTest, EveryCaptionFitsItsControl)
{
    NewEntry();
    for (QWidget* page : {dialog->PanStation, dialog->PanSetup}) {
        dialog->TabControl1->setCurrentWidget(page);
        for (QWidget* control : dialog->findChildren<QWidget*>()) {
            auto* button = qobject_cast<QAbstractButton*>(control);
            bool captioned = qobject_cast<QLabel*>(control) || (button && !button->text().isEmpty());
            if (!captioned || !control->isVisible())
                continue;
            EXPECT_LE(control->sizeHint().width(), control->width()) << control->metaObject()->className();
            EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry()))
                << control->metaObject()->className();
        }
    }
}

}  // namespace
