#include <string>

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "support/scriptedui.h"
#include "ui/aboutbox.h"
#include "uitestkit.h"

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WritePicture(home, "about.bmp", QSize(300, 180), QColor(20, 40, 120));
        box = std::make_unique<TAboutBox>();
        box->show();
        // Whatever an earlier test typed, a wrong letter starts the sequence again.
        Type("x");
    }

    void Type(const char* text) { QTest::keyClicks(box.get(), text); }

    ScriptedUi ui;
    TempFolder home;
    std::unique_ptr<TAboutBox> box;
};

TEST_F(AboutBoxTest, TakesThePictureSizeAndCentresItsButtonUnderIt)
{
    EXPECT_EQ(box->windowTitle().toStdString(), "關於Zanvik");
    EXPECT_EQ(box->width(), 300);
    EXPECT_EQ(box->height(), 180 + box->OKButton->height() + 10);
    EXPECT_EQ(box->OKButton->y(), 185);
    EXPECT_EQ(box->OKButton->x(), (300 - box->OKButton->width()) / 2);
    EXPECT_EQ(box->OKButton->text().toStdString(), "關閉");
    EXPECT_TRUE(box->OKButton->isDefault());
    EXPECT_EQ(box->grab().toImage().pixelColor(150, 90), QColor(20, 40, 120));

    QTest::keyClick(box.get(), Qt::Key_Return);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->result(), QDialog::Accepted);
}

TEST_F(AboutBoxTest, OpensWithoutItsPicture)
{
    std::remove((home / "system/about.bmp").c_str());
    TAboutBox plain;
    plain.show();
    EXPECT_GT(plain.width(), plain.OKButton->width());
    EXPECT_GT(plain.OKButton->y(), 0);
}

TEST_F(AboutBoxTest, CapitalSequenceShowsWhoMadeItAndWhereItRuns)
{
    Type("VEMIT");
    std::vector<std::string> messages = ui.Shown("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Zanvik\r", 0), 0u);
    std::string path = "執行檔路徑" + QCoreApplication::applicationFilePath().toStdString();
    EXPECT_NE(messages[0].find("\r\r" + path + "\r\r"), std::string::npos);

    Type("VEMIT");  // the counter started again from the first letter
    EXPECT_EQ(ui.Shown("message").size(), 2u);
}

TEST_F(AboutBoxTest, AWrongLetterInTheMiddleStartsTheSequenceAgain)
{
    Type("VEXMIT");
    EXPECT_TRUE(ui.Shown("message").empty());
    Type("VEVEMIT");  // the second V is checked against M, not taken as a new start
    EXPECT_TRUE(ui.Shown("message").empty());
    Type("VEMIT");
    EXPECT_EQ(ui.Shown("message").size(), 1u);
}

TEST_F(AboutBoxTest, LowerCaseNeverShowsIt)
{
    Type("vemit");
    Type("VEMiT");
    EXPECT_TRUE(ui.Shown("message").empty());
}

TEST_F(AboutBoxTest, ThePlaceInTheSequenceOutlivesTheBox)
{
    Type("VEM");
    box.reset();
    TAboutBox again;
    again.show();
    QTest::keyClicks(&again, "IT");
    EXPECT_EQ(ui.Shown("message").size(), 1u);
}

}  // namespace
