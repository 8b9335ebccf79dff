#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/radiogroup.h"

namespace {

TEST(RadioGroup, TheUsersChoiceIsTheItemIndexAndIsHeardSettingItInCodeIsNot)
{
    TRadioGroup group("資料來源", {"排程區", "電話簿區"});
    group.resize(200, 90);
    group.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&group));
    QSignalSpy clicked(&group, &TRadioGroup::Clicked);
    EXPECT_EQ(group.ItemIndex(), -1);

    QRadioButton* second = group.Item(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text().toStdString(), "電話簿區");
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(6, second->height() / 2));
    EXPECT_EQ(group.ItemIndex(), 1);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);

    group.SetItemIndex(0);
    EXPECT_EQ(group.ItemIndex(), 0);
    group.SetItemIndex(2);
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_EQ(clicked.count(), 1);
    // The items share the frame and lie inside it.
    EXPECT_GT(second->y(), group.Item(0)->y());
    EXPECT_TRUE(group.rect().contains(second->geometry()));
}

}  // namespace
