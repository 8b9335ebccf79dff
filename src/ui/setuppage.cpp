#include "ui/setuppage.h"

#include <exception>

#include <QFrame>
#include <QMessageBox>
#include <QStyle>

#include "core/busyscope.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/userinterface.h"
#include "schedule/dialprofiles.h"
#include "schedule/rasaccount.h"
#include "ui/blankrunlabel.h"
#include "ui/desktopopen.h"
#include "ui/systempicture.h"

namespace {

const char* const kRestart = "已將設定存檔, 請先關閉系統\r再重新啟動, 方可正確啟動瀏覽器";
const char* const kLargeFileNote = "檔案過大便不抓取,但不包括首頁";
const char* const kNoLog = "目前沒有記錄檔可供檢視";
const char* const kTestDialFirst = "請先試撥確定是否正確連線";
const char* const kSetUpDialUp = "請先設定你的連線網路設定";
const char* const kTrying = "正在嘗試撥號網路連線, 請稍候";
const char* const kDialWorks = "撥號連線功能正常";
const char* const kCannotDial = "無法撥號, 請確定帳號是否正確";

const int kSpinWidth = 60;
const int kRowHeight = 26;

QGroupBox* Group(const QString& caption, QRect place, QWidget* parent)
{
    auto* group = new QGroupBox(caption, parent);
    group->setGeometry(place);
    return group;
}

// A number box laid in the blank run of its caption.
QSpinBox* SpinInCaption(const QString& caption, QPoint at, int minimum, int maximum, int value, int width,
                        QWidget* parent)
{
    auto* label = new TBlankRunLabel(caption, parent);
    label->move(at);
    label->resize(label->width(), kRowHeight);
    auto* spin = new QSpinBox(parent);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->resize(width, kRowHeight - 2);
    label->Hold(spin);
    return spin;
}

QCheckBox* Check(const QString& caption, QPoint at, QWidget* parent)
{
    auto* check = new QCheckBox(caption, parent);
    check->move(at);
    check->adjustSize();
    return check;
}

QLabel* Caption(const QString& text, QRect place, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

std::string Text(const QLineEdit* edit)
{
    return edit->text().toStdString();
}

}  // namespace

TSetupPage::TSetupPage(QWidget* parent)
    : QWidget(parent),
      dialControl(storedAccount, [](const std::string& text) { Ui().Status(text); }, [] { return false; })
{
    resize(793, 428);
    const QIcon info(SystemPicture("info.bmp"));
    MakeLeftColumn(info);
    auto* bar = new QFrame(this);
    bar->setFrameShape(QFrame::VLine);
    bar->setFrameShadow(QFrame::Sunken);
    bar->setGeometry(398, 10, 4, 408);
    MakeRightColumn(info);
}

void TSetupPage::MakeLeftColumn(const QIcon& info)
{
    QGroupBox* limits = Group("限制選項", QRect(10, 6, 380, 128), this);
    spinQuota = SpinInCaption("當硬碟容量小於             M時自動斷線", {12, 24}, 0, 50, 10, kSpinWidth, limits);
    SpinMaxSiteTime = SpinInCaption("單站抓取時間超過             分鐘便停止下載該站", {12, 58}, 10, 600, 60,
                                    kSpinWidth, limits);
    spinMaxFileSize = SpinInCaption("抓取單個檔案的最大上限             Ｋ位元組", {12, 92}, 100, 1000, 500,
                                    kSpinWidth, limits);
    SpeedButton2 = new QToolButton(limits);
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setIcon(info);
    SpeedButton2->setToolTip(kLargeFileNote);
    SpeedButton2->setGeometry(340, 93, 24, 24);

    QGroupBox* reminders = Group("提醒事項", QRect(10, 142, 380, 84), this);
    chkRemindLoad = Check("有預約開始前先提醒", {14, 24}, reminders);
    chkRemindFetchOver = Check("當每下載一站,便提醒我", {14, 52}, reminders);

    QGroupBox* defaults = Group("下載內定選項", QRect(10, 234, 380, 90), this);
    spinDefaultDepth = SpinInCaption("下載層數           層", {12, 24}, 0, 5, 2, 44, defaults);
    chkCross = Check("是否跨站抓取", {14, 58}, defaults);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), "檢視記錄檔", this);
    BitBtn1->setGeometry(10, 338, 130, 34);

    connect(spinQuota, &QSpinBox::valueChanged, this, [](int value) { Settings().minVolumn = value; });
    connect(SpinMaxSiteTime, &QSpinBox::valueChanged, this, [](int value) { Settings().maxSiteTime = value; });
    connect(spinMaxFileSize, &QSpinBox::valueChanged, this,
            [](int value) { Settings().maxFileSize = static_cast<std::int64_t>(value) * 1024; });
    connect(spinDefaultDepth, &QSpinBox::valueChanged, this, [](int value) { Settings().idefaultDepth = value; });
    connect(chkRemindLoad, &QCheckBox::toggled, this, [](bool on) { Settings().RemindForLoad = on; });
    connect(chkRemindFetchOver, &QCheckBox::toggled, this, [](bool on) { Settings().RemindFetchOver = on; });
    connect(chkCross, &QCheckBox::toggled, this, [](bool on) { Settings().bdefaultCross = on; });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
}

void TSetupPage::MakeRightColumn(const QIcon& info)
{
    RadioGroup1 = new TRadioGroup("瀏覽器選項", {"使用內建的瀏覽器", "使用我原來的瀏覽器"}, this);
    RadioGroup1->setGeometry(410, 6, 373, 84);

    QGroupBox* network = Group("網路連線設定", QRect(410, 98, 373, 320), this);
    rdbLan = new QRadioButton("專線連線（非撥號）", network);
    rdbLan->move(14, 24);
    rdbLan->adjustSize();
    rdbDial = new QRadioButton("撥號網路連線", network);
    rdbDial->move(14, 52);
    rdbDial->adjustSize();
    MakeDialPanel(network);
    SpeedButton4 = new QToolButton(network);
    SpeedButton4->setText("關於撥號網路, 務必請看這裡");
    SpeedButton4->setIcon(info);
    SpeedButton4->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SpeedButton4->setGeometry(12, 276, 349, 34);

    connect(RadioGroup1, &TRadioGroup::Clicked, this, [this](int item) { RadioGroup1Click(item); });
    connect(rdbLan, &QRadioButton::clicked, this, [this] { rdbLanClick(); });
    connect(rdbDial, &QRadioButton::clicked, this, [this] { rdbDialClick(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
}

void TSetupPage::MakeDialPanel(QWidget* parent)
{
    panDial = new QWidget(parent);
    panDial->setGeometry(12, 80, 349, 188);
    Caption("用戶名稱", QRect(8, 6, 80, kRowHeight), panDial);
    edtUsername = new QLineEdit(panDial);
    edtUsername->setGeometry(92, 6, 240, kRowHeight);
    Caption("用戶密碼", QRect(8, 42, 80, kRowHeight), panDial);
    edtPassword = new QLineEdit(panDial);
    edtPassword->setEchoMode(QLineEdit::Password);
    edtPassword->setGeometry(92, 42, 240, kRowHeight);
    Caption("電話號碼", QRect(8, 78, 80, kRowHeight), panDial);
    edtTelephone = new QLineEdit(panDial);
    edtTelephone->setGeometry(92, 78, 240, kRowHeight);
    BitBtn5 = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), "試撥", panDial);
    BitBtn5->setGeometry(92, 120, 100, 34);
    panDial->hide();

    for (QLineEdit* field : {edtUsername, edtPassword, edtTelephone})
        connect(field, &QLineEdit::textChanged, this, [this] { edtUsernameChange(); });
    connect(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
}

void TSetupPage::FillFromSettings()
{
    const TSettings& s = Settings();
    RadioGroup1->SetItemIndex(s.USE_browser ? 0 : 1);
    // As a click would: the dial-up panel follows the kind of connection.
    if (s.USE_lan) {
        rdbLan->setChecked(true);
        rdbLanClick();
    } else {
        rdbDial->setChecked(true);
        rdbDialClick();
    }
    spinQuota->setValue(s.minVolumn);
    SpinMaxSiteTime->setValue(s.maxSiteTime);
    spinMaxFileSize->setValue(static_cast<int>(s.maxFileSize / 1024));
    spinDefaultDepth->setValue(s.idefaultDepth);
    chkRemindLoad->setChecked(s.RemindForLoad);
    chkRemindFetchOver->setChecked(s.RemindFetchOver);
    chkCross->setChecked(s.bdefaultCross);
}

void TSetupPage::SaveToSettings()
{
    TSettings& s = Settings();
    s.USE_browser = RadioGroup1->ItemIndex() == 0;
    s.minVolumn = spinQuota->value();
    s.maxSiteTime = SpinMaxSiteTime->value();
    s.maxFileSize = static_cast<std::int64_t>(spinMaxFileSize->value()) * 1024;
    s.USE_lan = rdbLan->isChecked();
}

// Saved at once, so that the message is true when it says so; the built-in browser
// follows the choice at the next start.
void TSetupPage::RadioGroup1Click(int item)
{
    Settings().USE_browser = item == 0;
    Ui().Message(kRestart);
}

void TSetupPage::SpeedButton2Click()
{
    Ui().Message(kLargeFileNote);
}

void TSetupPage::BitBtn1Click()
{
    if (FileExists(JoinPath(ProgramFolder(), "logfile.txt")))
        OpenProgramDocument("logfile.txt");
    else
        QMessageBox::information(this, "Zanvik", kNoLog, QMessageBox::Yes);
}

void TSetupPage::SpeedButton4Click()
{
    OpenProgramDocument("撥號網路.txt");
}

void TSetupPage::rdbLanClick()
{
    panDial->hide();
    Settings().USE_lan = rdbLan->isChecked();
}

void TSetupPage::rdbDialClick()
{
    panDial->show();
    if (MainWindowReady() && Ui().Ask(kTestDialFirst))
        BitBtn5Click();
    Settings().USE_lan = !rdbDial->isChecked();
    if (rdbDial->isChecked())
        CheckDialUpProfiles();
}

void TSetupPage::CheckDialUpProfiles()
{
    if (HasDialUpProfiles()) {
        LoadAccountFields();
        panDial->show();
    } else {
        Ui().Warning(kSetUpDialUp);
    }
}

void TSetupPage::LoadAccountFields()
{
    try {
        LoadRasAccount([this](const TRasAccount& account) {
            edtUsername->setText(QString::fromStdString(account.userName));
            edtPassword->setText(QString::fromStdString(account.password));
            edtTelephone->setText(QString::fromStdString(account.telephone));
        });
    } catch (const std::exception& error) {
        Ui().Error(error.what());
    }
}

void TSetupPage::edtUsernameChange()
{
    try {
        RasAccountChanged({Text(edtUsername), Text(edtPassword), Text(edtTelephone)});
    } catch (const std::exception& error) {
        Ui().Error(error.what());
    }
}

// The busy window holds the mouse, so it is down while the answer's box waits for the
// user, and up again for the hang-up. The waits serve the event loop, and a second test
// dial must not start inside the first.
void TSetupPage::BitBtn5Click()
{
    if (testDialing)
        return;
    testDialing = true;
    BitBtn5->setEnabled(false);
    {
        TBusyScope busy(kTrying);
        dialControl.Dial();
    }
    if (dialControl.DialSuccess())
        Ui().Message(kDialWorks);
    else
        Ui().Error(kCannotDial);
    {
        TBusyScope busy(kTrying);
        dialControl.HangUp();
    }
    BitBtn5->setEnabled(true);
    testDialing = false;
}
