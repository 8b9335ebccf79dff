#include <string>
#include <vector>

#include <QTest>
#include <gtest/gtest.h>

#include "data/field.h"
#include "data/recordlocks.h"
#include "data/session.h"
#include "support/scriptedui.h"
#include "ui/dbcheckbox.h"
#include "ui/dbedit.h"
#include "ui/dblookupcombobox.h"
#include "ui/dbmemo.h"
#include "uitestkit.h"

namespace {

class DataControlsTest : public ::testing::Test {
protected:
    TTable& Favor() { return folder.Data().telStation(); }
    std::string FieldText(const std::string& name) { return Favor().FieldByName(name).AsString(); }

    ScriptedUi ui;
    DataFolder folder;
};

TEST_F(DataControlsTest, AnEditShowsTheCurrentRecordAndWritesOnlyWhileEditing)
{
    TDBEdit alias(Favor(), "ALIAS");
    EXPECT_EQ(alias.text().toStdString(), FieldText("ALIAS"));
    EXPECT_TRUE(alias.isReadOnly());
    EXPECT_EQ(alias.maxLength(), 30);

    Favor().Next();
    EXPECT_EQ(alias.text().toStdString(), FieldText("ALIAS"));

    Favor().Edit();
    EXPECT_FALSE(alias.isReadOnly());
    alias.clear();
    QTest::keyClicks(&alias, "Zanvik ");
    alias.insert("測試站");
    EXPECT_EQ(FieldText("ALIAS"), "Zanvik 測試站");
    Favor().Post();
    EXPECT_TRUE(alias.isReadOnly());
    EXPECT_EQ(alias.text().toStdString(), "Zanvik 測試站");

    Favor().Edit();
    alias.setText("changed");
    Favor().Cancel();
    EXPECT_EQ(alias.text().toStdString(), "Zanvik 測試站");
}

TEST_F(DataControlsTest, AnAddressThatDoesNotFitStaysWholeInItsBox)
{
    TDBEdit url(Favor(), "URL");
    url.SetMaxLength(0);
    TDBMemo description(Favor(), "DESCRIPTION");
    Favor().Append();
    std::string address = "http://www.example.com/" + std::string(40, 'a');
    url.setText(QString::fromStdString(address));
    EXPECT_FALSE(url.TextFits());
    EXPECT_EQ(FieldText("URL").size(), 50u);
    // Another control writing its field does not put the cut text back into the box.
    QTest::keyClicks(&description, "x");
    EXPECT_EQ(url.text().toStdString(), address);

    url.setText("http://short.example/");
    EXPECT_TRUE(url.TextFits());
    EXPECT_EQ(FieldText("URL"), "http://short.example/");
    Favor().Cancel();
}

TEST_F(DataControlsTest, AnIntegerFieldTakesDigitsOnly)
{
    TDBEdit kind(Favor(), "KIND_SERIAL");
    Favor().Edit();
    kind.clear();
    QTest::keyClicks(&kind, "a7b");
    EXPECT_EQ(kind.text().toStdString(), "7");
    EXPECT_EQ(Favor().FieldByName("KIND_SERIAL").AsInteger(), 7);
    kind.clear();
    EXPECT_TRUE(Favor().FieldByName("KIND_SERIAL").IsNull());
    EXPECT_TRUE(ui.Shown("error").empty());
    Favor().Cancel();
}

TEST_F(DataControlsTest, ALookupListShowsCategoryNamesAndStoresTheirNumbers)
{
    TTable& kinds = folder.Data().kindTab();
    TDBLookupComboBox kind(Favor(), "KIND_SERIAL", kinds, "Kind_Serial", "Text");
    ASSERT_EQ(kind.count(), 10);
    EXPECT_EQ(kind.itemText(9).toStdString(), "我的最愛");
    EXPECT_EQ(kind.KeyOf(9), 10);
    EXPECT_EQ(kind.KeyOf(kind.currentIndex()), Favor().FieldByName("KIND_SERIAL").AsInteger());
    EXPECT_FALSE(kind.isEnabled());
    int kindsAt = kinds.RecNo();

    Favor().Append();
    EXPECT_TRUE(kind.isEnabled());
    EXPECT_EQ(kind.currentIndex(), -1);
    Favor().FieldByName("KIND_SERIAL").SetAsInteger(3);  // a caller presetting the category
    EXPECT_EQ(kind.currentText().toStdString(), "休閒育樂");
    QTest::keyClick(&kind, Qt::Key_Down);
    EXPECT_EQ(kind.currentText().toStdString(), "社會文化");
    EXPECT_EQ(Favor().FieldByName("KIND_SERIAL").AsInteger(), 4);
    EXPECT_EQ(kinds.RecNo(), kindsAt);
    Favor().Cancel();
}

TEST_F(DataControlsTest, ACheckBoxWritesItsLogicalField)
{
    TDBCheckBox scheduled("排程", Favor(), "BSchedule");
    EXPECT_FALSE(scheduled.isChecked());
    EXPECT_FALSE(scheduled.isEnabled());
    Favor().Edit();
    QTest::mouseClick(&scheduled, Qt::LeftButton, Qt::NoModifier, QPoint(5, scheduled.height() / 2));
    EXPECT_TRUE(scheduled.isChecked());
    EXPECT_TRUE(Favor().FieldByName("BSchedule").AsBoolean());
    Favor().Post();
    EXPECT_TRUE(scheduled.isChecked());
    Favor().Next();
    Favor().Prior();
    EXPECT_TRUE(scheduled.isChecked());
}

TEST_F(DataControlsTest, AMemoWritesItsTextAndTakesNoMoreThanTheFieldHolds)
{
    TDBMemo description(Favor(), "DESCRIPTION");
    EXPECT_EQ(description.toPlainText().toStdString(), FieldText("DESCRIPTION"));
    EXPECT_TRUE(description.isReadOnly());
    Favor().Edit();
    description.setPlainText("第一行\n第二行");
    EXPECT_EQ(FieldText("DESCRIPTION"), "第一行\n第二行");
    description.setPlainText(QString(300, QChar(0x7db2)));
    EXPECT_EQ(description.toPlainText().size(), 255);
    EXPECT_EQ(FieldText("DESCRIPTION"), description.toPlainText().toStdString());
    Favor().Post();
}

TEST_F(DataControlsTest, AMemoEditingInPlaceStartsTheEditAndGivesWayToALockedRecord)
{
    TDBMemo description(Favor(), "DESCRIPTION");
    description.SetAutoEdit(true);
    EXPECT_FALSE(description.isReadOnly());
    std::string before = FieldText("DESCRIPTION");

    // Another session holds the station and the user does not wait for it: nothing is
    // written and the box shows the field again.
    TSession other("other");
    TRecordKey key = Favor().CurrentKey();
    ASSERT_TRUE(RecordLocks().TryLock(key, &other));
    ui.Answer(false);
    description.appendPlainText("x");
    RecordLocks().Unlock(key, &other);
    EXPECT_EQ(ui.Shown(), (std::vector<std::string>{"ask: 電話簿資料庫鎖定中,是否再試一次"}));
    EXPECT_EQ(Favor().State(), TDataSetState::Browse);
    EXPECT_EQ(description.toPlainText().toStdString(), before);

    description.appendPlainText("y");
    EXPECT_EQ(Favor().State(), TDataSetState::Edit);
    EXPECT_EQ(FieldText("DESCRIPTION"), before + "\ny");
    Favor().Next();
    Favor().Prior();
    EXPECT_EQ(FieldText("DESCRIPTION"), before + "\ny");

    // An empty list has no record to edit.
    Favor().SetFilter("kind_Serial=10");
    EXPECT_TRUE(description.isReadOnly());
    EXPECT_TRUE(description.toPlainText().isEmpty());
}

}  // namespace
