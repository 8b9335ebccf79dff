#include <string>

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include "data/field.h"
#include "support/scriptedui.h"
#include "ui/dbedit.h"
#include "ui/dblookupcombobox.h"
#include "ui/dbmemo.h"
#include "ui/fmfavor.h"
#include "uitestkit.h"

namespace {

class StationDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Favor().Append();
        Favor().FieldByName("KIND_SERIAL").SetAsInteger(10);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    void TearDown() override { Favor().Cancel(); }

    TTable& Favor() { return folder.Data().telStation(); }

    void Type(QWidget* box, const QString& text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    void LeaveAddress()
    {
        dialog.dbEdtURL->setFocus();
        dialog.dbEdtAlias->setFocus();
    }

    // A click on the window's close box, as the window system reports it.
    bool CloseBox()
    {
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        QApplication::instance()->notify(&dialog, &event);
        return event.isAccepted();
    }

    ScriptedUi ui;
    DataFolder folder;
    TfmFavor dialog{folder.Data().telStation(), folder.Data().kindTab()};
};

TEST_F(StationDialogTest, OpensOnTheCategoryListWithTheRecordsCategory)
{
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "站台管理");
    EXPECT_EQ(dialog.size(), QSize(641, 317));
    EXPECT_EQ(dialog.focusWidget(), dialog.dbCmbKind);
    EXPECT_EQ(dialog.dbCmbKind->currentText().toStdString(), "我的最愛");
}

TEST_F(StationDialogTest, LeavingTheAddressGivesItTheHttpPrefixAndKeepsTheRest)
{
    QApplication::setActiveWindow(&dialog);
    Type(dialog.dbEdtURL, "www.Example.com/Path?Q=1");
    LeaveAddress();
    EXPECT_EQ(dialog.dbEdtURL->text().toStdString(), "http://www.Example.com/Path?Q=1");

    dialog.dbEdtURL->clear();
    Type(dialog.dbEdtURL, "HTTP://WWW.Example.com/A");
    LeaveAddress();
    EXPECT_EQ(dialog.dbEdtURL->text().toStdString(), "http://WWW.Example.com/A");
    EXPECT_EQ(Favor().FieldByName("URL").AsString(), "http://WWW.Example.com/A");

    // A secure address keeps its scheme.
    dialog.dbEdtURL->clear();
    Type(dialog.dbEdtURL, "HTTPS://Secure.Example.com/B");
    LeaveAddress();
    EXPECT_EQ(dialog.dbEdtURL->text().toStdString(), "https://Secure.Example.com/B");

    dialog.dbEdtURL->clear();
    LeaveAddress();
    EXPECT_TRUE(dialog.dbEdtURL->text().isEmpty());
}

TEST_F(StationDialogTest, OkWarnsAboutWhatIsMissingAndStaysOpen)
{
    dialog.BitBtn1->click();
    EXPECT_TRUE(ui.WasShown("warning", "請輸入網頁位址和網站名稱"));
    EXPECT_TRUE(dialog.isVisible());

    dialog.dbEdtAlias->setText("名稱");
    dialog.BitBtn1->click();
    EXPECT_TRUE(ui.WasShown("warning", "請輸入網頁位址"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.CloseAllowed());
    // The close box right after is refused, and so is Escape.
    EXPECT_FALSE(CloseBox());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());

    dialog.dbEdtAlias->clear();
    dialog.dbEdtURL->setText("www.example.com");
    dialog.BitBtn1->click();
    EXPECT_TRUE(ui.WasShown("warning", "請輸入網站名稱"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui.Shown("warning").size(), 3u);
}

TEST_F(StationDialogTest, AnAddressLongerThanItsFieldIsRefusedNotCut)
{
    dialog.dbEdtAlias->setText("長位址");
    std::string rest = "www.example.com/" + std::string(30, 'x');  // 53 with the prefix
    dialog.dbEdtURL->setText(QString::fromStdString(rest));
    dialog.BitBtn1->click();
    EXPECT_TRUE(ui.WasShown("warning", "網頁位址不可超過50個字元,請縮短網頁位址"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.dbEdtURL->text().toStdString(), "http://" + rest);

    dialog.dbEdtURL->setText("http://www.example.com/");
    dialog.BitBtn1->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), TfmFavor::mrOk);
}

TEST_F(StationDialogTest, OkWithAddressAndNameClosesAndTheCallerPostsTheRow)
{
    dialog.dbEdtAlias->setText("範例網站");
    dialog.dbEdtURL->setText("example.org/Index.html");
    dialog.dbDescript->setPlainText("一個例子");
    dialog.BitBtn1->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), TfmFavor::mrOk);
    EXPECT_TRUE(dialog.CloseAllowed());
    EXPECT_TRUE(ui.Shown("warning").empty());

    Favor().Post();
    ASSERT_TRUE(Favor().Locate("URL", {"http://example.org/Index.html"}));
    EXPECT_EQ(Favor().FieldByName("ALIAS").AsString(), "範例網站");
    EXPECT_EQ(Favor().FieldByName("KIND_SERIAL").AsInteger(), 10);
    EXPECT_EQ(Favor().FieldByName("DESCRIPTION").AsString(), "一個例子");
}

TEST_F(StationDialogTest, AbortAlwaysClosesAndLeavesTheFlagSet)
{
    dialog.BitBtn1->click();  // refused: the flag is false
    dialog.BitBtn2->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), TfmFavor::mrAbort);
    EXPECT_TRUE(dialog.CloseAllowed());

    // Not reset when the dialog opens again: the close box now closes it.
    dialog.show();
    EXPECT_TRUE(CloseBox());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(StationDialogTest, AQuitOfTheProgramClosesTheDialogEvenWhileItRefusesTheUser)
{
    dialog.hide();
    bool refused = false;
    WhenModal([&](QWidget* modal) {
        EXPECT_EQ(modal, &dialog);
        refused = !CloseBox();
        // The desktop's logout and the program's quit close every window.
        QApplication::closeAllWindows();
    });
    int result = dialog.exec();
    EXPECT_TRUE(refused);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.CloseAllowed());
}

}  // namespace
