#include <sys/stat.h>

#include <filesystem>
#include <string>

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "core/settings.h"
#include "platform/profilefile.h"
#include "support/scriptedui.h"
#include "support/tempfolder.h"
#include "ui/setuppage.h"
#include "uitestkit.h"

namespace {

const char* const kTrying = "正在嘗試撥號網路連線, 請稍候";

// The moment a file was last replaced: profile files are written by an atomic rename, so
// any write gives the path a new inode or a new change time.
struct FileStamp {
    ino_t inode = 0;
    long long changed = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return {info.st_ino, info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec};
}

class SetupPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = Settings();
        Settings() = TSettings();
        MainWindowReady() = false;
        ::setenv("ZANVIK_RAS", "sim", 1);
    }

    void TearDown() override
    {
        ::unsetenv("ZANVIK_RAS");
        MainWindowReady() = false;
        Settings() = saved;
    }

    std::string Ini() const { return home / "vorlan.ini"; }
    TProfileFile IniFile() const { return TProfileFile(Ini()); }
    // The simulated dial-up service's state, in the Windows folder.
    void Simulate(const std::string& state) const { home.Write("windows/rassim.ini", state); }

    // Loads vorlan.ini as the program's start does and makes the page as the main window does.
    std::unique_ptr<TSetupPage> PageFrom(const std::string& ini)
    {
        home.Write("vorlan.ini", ini);
        ::chmod(Ini().c_str(), 0600);
        LoadSettings(SettingsFile());
        auto page = std::make_unique<TSetupPage>();
        page->FillFromSettings();
        return page;
    }

    TempFolder home;
    ScriptedUi ui;
    TSettings saved;
};

TEST_F(SetupPageTest, AFileSizeOfOneHundredIsOneHundredKilobytesAtOnce)
{
    auto page = PageFrom("");
    page->spinMaxFileSize->selectAll();
    QTest::keyClicks(page->spinMaxFileSize, "100");
    EXPECT_EQ(Settings().maxFileSize, 102400);
    EXPECT_EQ(page->spinMaxFileSize->minimum(), 100);
    EXPECT_EQ(page->spinMaxFileSize->maximum(), 1000);
}

TEST_F(SetupPageTest, CaptionsAndRanges)
{
    TSetupPage page;
    page.show();
    struct Spin {
        QSpinBox* box;
        std::string caption;
        int minimum, maximum;
    };
    for (const Spin& spin : {Spin{page.spinQuota, "當硬碟容量小於             M時自動斷線", 0, 50},
                             Spin{page.SpinMaxSiteTime, "單站抓取時間超過             分鐘便停止下載該站", 10, 600},
                             Spin{page.spinMaxFileSize, "抓取單個檔案的最大上限             Ｋ位元組", 100, 1000},
                             Spin{page.spinDefaultDepth, "下載層數           層", 0, 5}}) {
        EXPECT_EQ(spin.box->minimum(), spin.minimum) << spin.caption;
        EXPECT_EQ(spin.box->maximum(), spin.maximum) << spin.caption;
        // The box lies in the blank run of its caption, between the words round it.
        QLabel* caption = nullptr;
        for (QLabel* label : spin.box->parentWidget()->findChildren<QLabel*>())
            if (label->geometry().intersects(spin.box->geometry()))
                caption = label;
        ASSERT_NE(caption, nullptr) << spin.caption;
        EXPECT_EQ(caption->text().toStdString(), spin.caption);
        const QString text = caption->text();
        const int run = text.indexOf("  ");
        const int after = text.lastIndexOf(' ') + 1;
        const QFontMetrics metrics = caption->fontMetrics();
        EXPECT_GE(spin.box->x(), caption->x() + metrics.horizontalAdvance(text.left(run))) << spin.caption;
        EXPECT_LE(spin.box->geometry().right(), caption->x() + caption->width() - metrics.horizontalAdvance(text.mid(after)))
            << spin.caption;
    }
    const std::vector<std::pair<QAbstractButton*, std::string>> buttons{
        {page.chkRemindLoad, "有預約開始前先提醒"},
        {page.chkRemindFetchOver, "當每下載一站,便提醒我"},
        {page.chkCross, "是否跨站抓取"},
        {page.BitBtn1, "檢視記錄檔"},
        {page.RadioGroup1->Item(0), "使用內建的瀏覽器"},
        {page.RadioGroup1->Item(1), "使用我原來的瀏覽器"},
        {page.rdbLan, "專線連線（非撥號）"},
        {page.rdbDial, "撥號網路連線"},
        {page.BitBtn5, "試撥"},
        {page.SpeedButton4, "關於撥號網路, 務必請看這裡"}};
    for (const auto& [button, caption] : buttons) {
        EXPECT_EQ(button->text().toStdString(), caption);
        EXPECT_GE(button->width(), button->sizeHint().width()) << caption;
    }
    EXPECT_EQ(page.RadioGroup1->title().toStdString(), "瀏覽器選項");
    EXPECT_EQ(page.edtPassword->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(page.panDial->isVisible());

    // No control covers another, but for the number boxes over their captions' blanks.
    QList<QWidget*> parents = page.findChildren<QWidget*>();
    parents << &page;
    for (QWidget* parent : parents) {
        QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* one : children) {
            for (QWidget* other : children) {
                if (one >= other || qobject_cast<QSpinBox*>(one) || qobject_cast<QSpinBox*>(other))
                    continue;
                if (!one->isWindow() && !other->isWindow() && parent->layout() == nullptr) {
                    EXPECT_FALSE(one->geometry().intersects(other->geometry()))
                        << one->metaObject()->className() << " " << other->metaObject()->className() << " "
                        << one->geometry().top() << "+" << one->height() << " " << other->geometry().top();
                }
            }
        }
    }
}

TEST_F(SetupPageTest, TheFormsOwnValuesGiveWayToTheSettings)
{
    TSetupPage fresh;
    EXPECT_EQ(fresh.spinQuota->value(), 10);
    EXPECT_EQ(fresh.SpinMaxSiteTime->value(), 60);
    EXPECT_EQ(fresh.spinMaxFileSize->value(), 500);
    EXPECT_EQ(fresh.spinDefaultDepth->value(), 2);
    EXPECT_TRUE(fresh.panDial->isHidden());

    auto page = PageFrom(
        "[setup]\nminVolumn=20\nmaxSiteTime=120\nmaxFileSize=300\nremindForLoad=1\nRemindFetchOver=1\n"
        "USE_browser=0\nUSE_lan=1\n[default]\nidefaultDepth=4\nbdefaultCross=1\n");
    EXPECT_EQ(page->spinQuota->value(), 20);
    EXPECT_EQ(page->SpinMaxSiteTime->value(), 120);
    EXPECT_EQ(page->spinMaxFileSize->value(), 300);
    EXPECT_EQ(page->spinDefaultDepth->value(), 4);
    EXPECT_TRUE(page->chkRemindLoad->isChecked());
    EXPECT_TRUE(page->chkRemindFetchOver->isChecked());
    EXPECT_TRUE(page->chkCross->isChecked());
    EXPECT_EQ(page->RadioGroup1->ItemIndex(), 1);
    EXPECT_TRUE(page->rdbLan->isChecked());
    EXPECT_FALSE(page->rdbDial->isChecked());
    EXPECT_TRUE(page->panDial->isHidden());
    // Filling is no choice of the user's: no restart message, no question.
    EXPECT_TRUE(ui.Shown().empty());
    EXPECT_EQ(Settings().maxFileSize, 300 * 1024);
}

TEST_F(SetupPageTest, EveryChangeReachesTheSettingsAtOnceAndTheFileAtShutdown)
{
    auto page = PageFrom("[setup]\nUSE_browser=0\n");
    page->spinQuota->setValue(35);
    EXPECT_EQ(Settings().minVolumn, 35);
    page->SpinMaxSiteTime->setValue(600);
    EXPECT_EQ(Settings().maxSiteTime, 600);
    page->spinMaxFileSize->setValue(1000);
    EXPECT_EQ(Settings().maxFileSize, 1000 * 1024);
    page->spinDefaultDepth->setValue(5);
    EXPECT_EQ(Settings().idefaultDepth, 5);
    QTest::mouseClick(page->chkRemindLoad, Qt::LeftButton);
    EXPECT_TRUE(Settings().RemindForLoad);
    QTest::mouseClick(page->chkRemindFetchOver, Qt::LeftButton);
    EXPECT_TRUE(Settings().RemindFetchOver);
    QTest::mouseClick(page->chkCross, Qt::LeftButton);
    EXPECT_TRUE(Settings().bdefaultCross);

    page->RadioGroup1->Item(0)->click();
    EXPECT_TRUE(Settings().USE_browser);
    EXPECT_EQ(ui.Shown("message"), (std::vector<std::string>{"已將設定存檔, 請先關閉系統\r再重新啟動, 方可正確啟動瀏覽器"}));

    // The ranges hold whatever is typed.
    page->spinQuota->setValue(51);
    EXPECT_EQ(Settings().minVolumn, 50);
    page->spinDefaultDepth->setValue(-1);
    EXPECT_EQ(Settings().idefaultDepth, 0);

    // Values changed behind the page's back are put right by the page at the end.
    Settings().minVolumn = 1;
    Settings().USE_browser = false;
    Settings().USE_lan = false;
    page->SaveToSettings();
    EXPECT_EQ(Settings().minVolumn, 50);
    EXPECT_TRUE(Settings().USE_browser);
    EXPECT_TRUE(Settings().USE_lan);

    TProfileFile file = SettingsFile();
    SaveSettings(file);
    TProfileFile ini = IniFile();
    EXPECT_EQ(ini.ReadInteger("setup", "minVolumn", 0), 50);
    EXPECT_EQ(ini.ReadInteger("setup", "maxSiteTime", 0), 600);
    EXPECT_EQ(ini.ReadInteger("setup", "maxFileSize", 0), 1000);
    EXPECT_EQ(ini.ReadInteger("default", "idefaultDepth", -1), 0);
    EXPECT_EQ(ini.ReadString("setup", "remindForLoad", ""), "1");
    EXPECT_EQ(ini.ReadString("setup", "RemindFetchOver", ""), "1");
    EXPECT_EQ(ini.ReadString("default", "bdefaultCross", ""), "1");
    EXPECT_EQ(ini.ReadString("setup", "USE_browser", ""), "1");
    EXPECT_EQ(ini.ReadString("setup", "USE_lan", ""), "1");
}

TEST_F(SetupPageTest, TheTwoInformationButtons)
{
    auto page = PageFrom("");
    QTest::mouseClick(page->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(ui.Shown("message"), (std::vector<std::string>{"檔案過大便不抓取,但不包括首頁"}));

    // The dial-up help goes to the desktop's viewer.
    OpenRecorder desktop;
    home.Write("撥號網路.txt", "help");
    QTest::mouseClick(page->SpeedButton4, Qt::LeftButton);
    EXPECT_EQ(desktop.opened, QStringList{QString::fromStdString(home / "撥號網路.txt")});
}

TEST_F(SetupPageTest, ViewingTheLogOpensItOnlyWhenThereIsOne)
{
    auto page = PageFrom("");
    OpenRecorder desktop;

    QString text;
    QMessageBox::StandardButtons buttons;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        buttons = box->standardButtons();
        box->button(QMessageBox::Yes)->click();
    });
    QTest::mouseClick(page->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(text.toStdString(), "目前沒有記錄檔可供檢視");
    EXPECT_EQ(buttons, QMessageBox::Yes);
    EXPECT_TRUE(desktop.opened.isEmpty());

    home.Write("logfile.txt", "[log]\n");
    QTest::mouseClick(page->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(desktop.opened, QStringList{QString::fromStdString(home / "logfile.txt")});
}

TEST_F(SetupPageTest, DialUpModeLoadsTheAccountWithoutWritingIt)
{
    Simulate("[entries]\nMy ISP=1\n");
    home.Write("vorlan.ini", "[setup]\nUSE_lan=0\n[RAS]\nusername=alice\npassword=s3cret\ntelephone=555\n");
    ::chmod(Ini().c_str(), 0600);
    LoadSettings(SettingsFile());
    const FileStamp before = StampOf(Ini());
    auto page = std::make_unique<TSetupPage>();
    page->FillFromSettings();
    EXPECT_EQ(StampOf(Ini()), before);
    EXPECT_TRUE(page->rdbDial->isChecked());
    EXPECT_FALSE(page->panDial->isHidden());
    EXPECT_EQ(page->edtUsername->text().toStdString(), "alice");
    EXPECT_EQ(page->edtPassword->text().toStdString(), "s3cret");
    EXPECT_EQ(page->edtTelephone->text().toStdString(), "555");
    EXPECT_FALSE(Settings().USE_lan);
    EXPECT_TRUE(ui.Shown().empty());

    // Typing into one field writes all three as the fields hold them.
    TProfileFile ini = IniFile();
    ini.WriteString("RAS", "username", "bob");
    ini.WriteString("RAS", "password", "");
    QTest::keyClicks(page->edtTelephone, "9");
    EXPECT_EQ(ini.ReadString("RAS", "username", ""), "alice");
    EXPECT_EQ(ini.ReadString("RAS", "password", ""), "s3cret");
    EXPECT_EQ(ini.ReadString("RAS", "telephone", ""), "5559");
}

TEST_F(SetupPageTest, WithoutADialUpProfileTheUserIsToldToSetOneUp)
{
    Simulate("[entries]\n");
    auto page = PageFrom("[setup]\nUSE_lan=0\n[RAS]\nusername=alice\n");
    EXPECT_EQ(ui.Shown("warning"), (std::vector<std::string>{"請先設定你的連線網路設定"}));
    EXPECT_TRUE(page->edtUsername->text().isEmpty());
    EXPECT_FALSE(Settings().USE_lan);

    // A listing that fails counts as no profile.
    Simulate("[entries]\nMy ISP=1\n[fail]\nentries=711\n");
    ui.Clear();
    page = std::make_unique<TSetupPage>();
    page->FillFromSettings();
    EXPECT_EQ(ui.Shown("warning"), (std::vector<std::string>{"請先設定你的連線網路設定"}));
}

TEST_F(SetupPageTest, TheUsersChoiceOfConnectionAsksForATestDialAndFollowsTheButtons)
{
    Simulate("[entries]\nMy ISP=1\n");
    auto page = PageFrom("[RAS]\nusername=alice\npassword=s3cret\ntelephone=555\n");
    EXPECT_TRUE(page->rdbLan->isChecked());
    MainWindowReady() = true;
    ui.Answer(false);
    page->show();
    QTest::mouseClick(page->rdbDial, Qt::LeftButton);
    EXPECT_EQ(ui.Shown("ask"), (std::vector<std::string>{"請先試撥確定是否正確連線"}));
    EXPECT_FALSE(Settings().USE_lan);
    EXPECT_TRUE(page->panDial->isVisible());
    EXPECT_EQ(page->edtTelephone->text().toStdString(), "555");
    EXPECT_TRUE(ui.Shown("busy").empty());  // no test dial on No

    QTest::mouseClick(page->rdbLan, Qt::LeftButton);
    EXPECT_TRUE(Settings().USE_lan);
    EXPECT_FALSE(page->panDial->isVisible());
}

TEST_F(SetupPageTest, ThePasswordStaysInAFileOfTheOwnersAndOutOfSight)
{
    Simulate("[entries]\nMy ISP=1\n");
    // Even a file that others could read is closed to them by the first write.
    home.Write("vorlan.ini", "[setup]\nUSE_lan=0\n");
    ::chmod(Ini().c_str(), 0644);
    LoadSettings(SettingsFile());
    TSetupPage page;
    page.FillFromSettings();
    page.show();
    const std::string secret = "Pa55word";
    QTest::keyClicks(page.edtPassword, QString::fromStdString(secret));
    EXPECT_EQ(IniFile().ReadString("RAS", "password", ""), secret);

    struct stat info {};
    ASSERT_EQ(::stat(Ini().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(page.edtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(page.edtPassword->displayText().toStdString().find(secret), std::string::npos);
    for (QLineEdit* edit : page.findChildren<QLineEdit*>()) {
        if (edit != page.edtPassword) {
            EXPECT_EQ(edit->displayText().toStdString().find(secret), std::string::npos);
        }
    }
    for (QLabel* label : page.findChildren<QLabel*>())
        EXPECT_EQ(label->text().toStdString().find(secret), std::string::npos);
    for (QAbstractButton* button : page.findChildren<QAbstractButton*>())
        EXPECT_EQ(button->text().toStdString().find(secret), std::string::npos);
    for (const std::string& line : ui.Shown())
        EXPECT_EQ(line.find(secret), std::string::npos) << line;
}

class TestDialTest : public SetupPageTest {
protected:
    void SetUp() override
    {
        SetupPageTest::SetUp();
        // The dial program of the build, on the simulated service.
        std::filesystem::create_symlink(std::string(ZANVIK_BIN_DIR) + "/dial", home / "dial");
    }

    // The page in dial-up mode with a whole account, and the test dial pressed.
    void TestDial(const std::string& service)
    {
        Simulate("[entries]\nMy ISP=1\n" + service);
        auto page = PageFrom("[setup]\nUSE_lan=0\n[RAS]\nusername=alice\npassword=s3cret\ntelephone=555\n");
        ui.Clear();
        QTest::mouseClick(page->BitBtn5, Qt::LeftButton);
        EXPECT_TRUE(page->BitBtn5->isEnabled());
    }

    TProfileFile Service() const { return TProfileFile(home / "windows/rassim.ini"); }
};

TEST_F(TestDialTest, ADialThatConnectsSaysSoAndHangsUp)
{
    TestDial("");
    EXPECT_EQ(Service().ReadString("dialled", "phone", ""), "555");
    EXPECT_EQ(Service().ReadString("dialled", "user", ""), "alice");
    EXPECT_EQ(ui.Shown(), (std::vector<std::string>{"busy: " + std::string(kTrying), "busy: hidden",
                                                    "message: 撥號連線功能正常", "busy: " + std::string(kTrying),
                                                    "busy: hidden"}));
    // The connection it made is gone again.
    EXPECT_FALSE(Service().ReadString("hungup", "handles", "").empty());
    EXPECT_TRUE(Service().ReadSection("connections").empty());
}

TEST_F(TestDialTest, ADialThatFailsAsksToCheckTheAccount)
{
    TestDial("[fail]\ndial=691\n");
    EXPECT_EQ(ui.Shown("message"), std::vector<std::string>{});
    EXPECT_EQ(ui.Shown("error"), (std::vector<std::string>{"無法撥號, 請確定帳號是否正確"}));
    EXPECT_EQ(ui.Shown("busy").size(), 4u);
}

}  // namespace
