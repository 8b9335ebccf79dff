#include "ui/fmwww.h"

#include <algorithm>
#include <exception>

#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionButton>

#include "core/datetime.h"
#include "core/siteaddress.h"
#include "core/text.h"
#include "core/userinterface.h"
#include "data/dmmain.h"
#include "data/field.h"
#include "schedule/entryindex.h"
#include "schedule/nexttime.h"
#include "ui/addressfits.h"
#include "ui/dbcheckbox.h"
#include "ui/dbedit.h"
#include "ui/dblookupcombobox.h"
#include "ui/radiogroup.h"
#include "ui/systempicture.h"
#include "ui/updown.h"

namespace {

const QSize kClientSize(480, 420);
const int kRowHeight = 26;
const int kBoxHeight = 24;

// A year that is not a leap year: a yearly entry's day stops at the 28th of February.
const int kCommonYear = 2001;

const char* const kWeekdays[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};

const char kHelpMode[] = "快速下載模式\r\n\r\n只會下載文字資料,\r\n圖檔,聲音檔等均不下載\r\n有效節省下載時間";
const char kHelpCross[] = "必須指定跨台抓取才能抓取跨不同網站的超連結";
const char kHelpLayout[] = "內定的抓取層級為0, 表示只抓首頁\r\n若層級為1,則表示首頁的每一個超連結都必須抓取,\r\n以此類推";

QLabel* Caption(const QString& text, QRect place, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

// Where the text of a caption starts inside its control.
int TextLeft(const QWidget& control)
{
    if (const auto* button = qobject_cast<const QRadioButton*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return control.style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button).left();
    }
    return control.contentsRect().left();
}

// A caption leaves runs of blanks where its boxes go; this puts box over the run with the
// given number (from 0), centred, in the caption's parent.
void PlaceOverBlanks(QWidget* box, const QWidget& control, const QString& caption, int run, int width)
{
    int start = -1;
    int end = -1;
    for (int i = 0, found = -1; i < caption.size() && end < 0; ++i) {
        bool blank = caption[i] == ' ';
        bool startsRun = blank && (i == 0 || caption[i - 1] != ' ');
        if (startsRun && ++found == run)
            start = i;
        if (start >= 0 && (i + 1 == caption.size() || caption[i + 1] != ' '))
            end = i + 1;
    }
    QFontMetrics metrics(control.font());
    int left = TextLeft(control) + metrics.horizontalAdvance(caption.left(start));
    int right = TextLeft(control) + metrics.horizontalAdvance(caption.left(end));
    int boxWidth = std::min(width, right - left - 4);
    QPoint origin = control.geometry().topLeft();
    box->setGeometry(origin.x() + left + (right - left - boxWidth) / 2,
                     origin.y() + (control.height() - kBoxHeight) / 2, boxWidth, kBoxHeight);
    box->raise();
}

bool IsNumber(const QLineEdit& box)
{
    bool number = false;
    box.text().trimmed().toInt(&number);
    return number;
}

int NumberIn(const QLineEdit& box)
{
    return box.text().trimmed().toInt();
}

// A box is left when the focus moves to another control of the window; another window
// coming to the front is not leaving it.
bool Left(const QEvent& event)
{
    if (event.type() != QEvent::FocusOut)
        return false;
    Qt::FocusReason reason = static_cast<const QFocusEvent&>(event).reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool IsEnter(const QEvent& event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    int key = static_cast<const QKeyEvent&>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

TfmWWW::TfmWWW(TDMMain& data, QWidget* parent)
    : TFixedDialog("排程管理", kClientSize, Placement::OnTop, parent), data(data)
{
    TabControl1 = new QTabWidget(this);
    TabControl1->setGeometry(10, 10, kClientSize.width() - 20, 350);
    MakeStationPanel(data);
    MakeSetupPanel();

    BtnOK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "確定", this);
    BtnOK->setGeometry(kClientSize.width() - 226, kClientSize.height() - 48, 100, 34);
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "取消", this);
    BtnCancel->setGeometry(kClientSize.width() - 110, kClientSize.height() - 48, 100, 34);
    BtnCancel->setAutoDefault(false);
    connect(BtnOK, &QPushButton::clicked, this, [this] { BtnOKClick(); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { reject(); });

    Prepare();
}

void TfmWWW::MakeStationPanel(TDMMain& data)
{
    PanStation = new QWidget;
    TabControl1->addTab(PanStation, "站名");
    TTable& station = data.tabStation();
    Caption("站台簡稱", QRect(20, 28, 80, 28), PanStation);
    dbEdtAlias = new TDBEdit(station, "Alias", PanStation);
    dbEdtAlias->setGeometry(104, 28, 300, 28);
    Caption("網頁位址", QRect(20, 72, 80, 28), PanStation);
    // No limit of the box's own: an address that does not fit is refused on OK, so that
    // it is never stored cut.
    dbEdtURL = new TDBEdit(station, "URL", PanStation);
    dbEdtURL->SetMaxLength(0);
    dbEdtURL->setGeometry(104, 72, 330, 28);
    dbEdtURL->installEventFilter(this);
    Caption("站台分類", QRect(20, 116, 80, 28), PanStation);
    dbCmbType = new TDBLookupComboBox(station, "kind_serial", data.kindTab(), "Kind_Serial", "Text", PanStation);
    dbCmbType->setGeometry(104, 116, 200, 28);
}

void TfmWWW::MakeSetupPanel()
{
    PanSetup = new QWidget;
    TabControl1->addTab(PanSetup, "設定");
    MakeFrequencyGroup(PanSetup);
    MakeOtherGroup(PanSetup);

    RdGMode = new TRadioGroup("資料下載模式", {"快速下載     (下載文字及內容 )", "全部下載     ( 下載所有資料 )"}, PanSetup);
    RdGMode->setGeometry(10, 222, 400, 84);
    btnHelpMode = HelpButton(PanSetup, kHelpMode);
    btnHelpMode->move(418, 240);
}

void TfmWWW::MakeFrequencyGroup(QWidget* panel)
{
    auto* group = new QGroupBox("下載頻率", panel);
    group->setGeometry(10, 8, 250, 206);

    RdBDaily = new QRadioButton("每日", group);
    RdBDaily->setGeometry(12, 26, 200, kRowHeight);
    RdBWeekly = new QRadioButton("每週", group);
    RdBWeekly->setGeometry(12, 60, 70, kRowHeight);
    CmBWeekly = new QComboBox(group);
    for (const char* day : kWeekdays)
        CmBWeekly->addItem(day);
    CmBWeekly->setGeometry(86, 60, 110, kRowHeight);

    const QString monthly = "每月            日";
    RdBMonthly = new QRadioButton(monthly, group);
    RdBMonthly->setGeometry(12, 94, 200, kRowHeight);
    edtMonthly = NumberBox(group, 1, 28, "每月的日期");
    PlaceOverBlanks(edtMonthly, *RdBMonthly, monthly, 0, 36);

    const QString other = "其他            月           日";
    RdBOther = new QRadioButton(other, group);
    RdBOther->setGeometry(12, 128, 230, kRowHeight);
    edtOther = NumberBox(group, 1, 12, "月份");
    PlaceOverBlanks(edtOther, *RdBOther, other, 0, 36);
    edtOther1 = NumberBox(group, 1, 31, "日期");
    PlaceOverBlanks(edtOther1, *RdBOther, other, 1, 36);
    connect(edtOther, &QLineEdit::textChanged, this, [this] { edtOtherChange(); });

    const QString time = "時間               :                 ";
    QLabel* timeCaption = Caption(time, QRect(16, 168, 226, kRowHeight), group);
    edtTime = NumberBox(group, 0, 23, "小時");
    PlaceOverBlanks(edtTime, *timeCaption, time, 0, 40);
    edtTime1 = NumberBox(group, 0, 59, "分鐘");
    PlaceOverBlanks(edtTime1, *timeCaption, time, 1, 40);

    for (QRadioButton* option : {RdBDaily, RdBWeekly, RdBMonthly, RdBOther})
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                RepetitionClick();
        });
}

void TfmWWW::MakeOtherGroup(QWidget* panel)
{
    auto* group = new QGroupBox("其他", panel);
    group->setGeometry(270, 8, 176, 206);

    Caption("層次", QRect(14, 30, 40, kRowHeight), group);
    EdtLayout = NumberBox(group, 0, 5, "層次");
    EdtLayout->setGeometry(56, 31, 40, kBoxHeight);
    EdtLayout->setText("1");
    UDLayout = new TUpDown(*EdtLayout, 0, 5, group);
    UDLayout->setGeometry(96, 31, 18, kBoxHeight);
    btnHelpLayout = HelpButton(group, kHelpLayout);
    btnHelpLayout->move(140, 32);

    DBCheckBox1 = new TDBCheckBox("跨台抓取", data.tabStation(), "Cross", group);
    DBCheckBox1->setGeometry(14, 72, 120, kRowHeight);
    btnHelpCross = HelpButton(group, kHelpCross);
    btnHelpCross->move(140, 74);
}

QLineEdit* TfmWWW::NumberBox(QWidget* parent, int min, int max, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,2}"), box));
    box->setMaxLength(2);
    box->setAlignment(Qt::AlignCenter);
    box->installEventFilter(this);
    numbers.push_back({box, min, max, name});
    return box;
}

QToolButton* TfmWWW::HelpButton(QWidget* parent, const char* text)
{
    auto* button = new QToolButton(parent);
    button->setIcon(SystemPicture("info.bmp"));
    button->setIconSize(QSize(16, 16));
    button->resize(22, 22);
    button->setAutoRaise(true);
    button->setToolTip("說明");
    connect(button, &QToolButton::clicked, this, [text] { Ui().Message(text); });
    return button;
}

void TfmWWW::Prepare()
{
    TabControl1->setCurrentWidget(PanStation);
    dbEdtAlias->setFocus();

    TDateTime now = Now();
    CivilTime today = DecodeDateTime(now);
    CmBWeekly->setCurrentIndex(DayOfWeek(now) - 1);
    // The box stops at the 28th, so a month's last days start it at the 28th.
    edtMonthly->setText(QString::number(std::min(today.day, 28)));
    edtOther->setText(QString::number(today.month));
    edtOther1->setText(QString::number(today.day));
    edtOtherChange();
    edtTime->setText(QString::number(today.hour));
    edtTime1->setText(QString::number(today.minute));

    RdBDaily->setChecked(true);
    RepetitionClick();
    RdGMode->SetItemIndex(1);
}

void TfmWWW::RepetitionClick()
{
    for (QWidget* box : std::initializer_list<QWidget*>{CmBWeekly, edtMonthly, edtOther, edtOther1})
        box->setEnabled(false);
    if (RdBWeekly->isChecked())
        CmBWeekly->setEnabled(true);
    if (RdBMonthly->isChecked())
        edtMonthly->setEnabled(true);
    if (RdBOther->isChecked()) {
        edtOther->setEnabled(true);
        edtOther1->setEnabled(true);
    }
}

// The day stops at the length of the month in edtOther; a larger day is lowered to it.
void TfmWWW::edtOtherChange()
{
    if (!IsNumber(*edtOther))
        return;
    TNumberField* day = NumberFieldOf(edtOther1);
    day->max = DaysInMonth(kCommonYear, std::clamp(NumberIn(*edtOther), 1, 12));
    if (IsNumber(*edtOther1) && NumberIn(*edtOther1) > day->max)
        edtOther1->setText(QString::number(day->max));
}

TfmWWW::TNumberField* TfmWWW::NumberFieldOf(const QObject* box)
{
    for (TNumberField& field : numbers)
        if (field.box == box)
            return &field;
    return nullptr;
}

// A box that holds no number is left as it is: OK names it.
void TfmWWW::KeepInRange(TNumberField& field)
{
    if (field.box == edtOther1 && edtOther->text().trimmed().isEmpty())
        Ui().Warning("請先填月份");
    if (!IsNumber(*field.box))
        return;
    field.box->setText(QString::number(std::clamp(NumberIn(*field.box), field.min, field.max)));
}

void TfmWWW::NormaliseAddress()
{
    QString typed = dbEdtURL->text();
    QString kept = QString::fromStdString(NormalizeSiteAddress(typed.toStdString()));
    if (kept != typed)
        dbEdtURL->setText(kept);
}

bool TfmWWW::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dbEdtURL && Left(*event))
        NormaliseAddress();
    if (TNumberField* field = NumberFieldOf(watched)) {
        if (Left(*event))
            KeepInRange(*field);
        if (IsEnter(*event)) {
            KeepInRange(*field);
            return true;
        }
    }
    return TFixedDialog::eventFilter(watched, event);
}

// Shows the warning, then the box to mend with the focus in it; the dialog stays open.
bool TfmWWW::Refuse(const std::string& warning, QWidget* box)
{
    Ui().Warning(warning);
    ShowBox(box);
    return false;
}

void TfmWWW::ShowBox(QWidget* box)
{
    TabControl1->setCurrentWidget(PanStation->isAncestorOf(box) ? PanStation : PanSetup);
    box->setFocus();
}

bool TfmWWW::Complete()
{
    bool noAddress = dbEdtURL->text().isEmpty();
    bool noName = dbEdtAlias->text().isEmpty();
    if (noAddress && noName)
        return Refuse("請輸入網頁位址和網站名稱", dbEdtAlias);
    if (noAddress)
        return Refuse("請輸入網頁位址", dbEdtURL);
    if (noName)
        return Refuse("請輸入網站簡名稱", dbEdtAlias);
    return true;
}

// The boxes that the chosen repetition uses hold numbers, which are then kept in range; a
// weekly entry has its weekday.
bool TfmWWW::SettingsGiven()
{
    if (RdBWeekly->isChecked() && CmBWeekly->currentIndex() < 0)
        return Refuse("請選擇星期幾", CmBWeekly);
    std::vector<QLineEdit*> used;
    if (RdBMonthly->isChecked())
        used.push_back(edtMonthly);
    if (RdBOther->isChecked())
        used.insert(used.end(), {edtOther, edtOther1});
    used.insert(used.end(), {edtTime, edtTime1, EdtLayout});
    for (QLineEdit* box : used)
        if (!IsNumber(*box))
            return Refuse(std::string("請在") + NumberFieldOf(box)->name + "欄填入數字", box);
    for (QLineEdit* box : used)
        KeepInRange(*NumberFieldOf(box));
    return true;
}

std::string TfmWWW::FrequencyText() const
{
    if (RdBWeekly->isChecked())
        return kFrequencyWeekly;
    if (RdBMonthly->isChecked())
        return kFrequencyMonthly;
    if (RdBOther->isChecked())
        return kFrequencyYearly;
    return kFrequencyDaily;
}

// A daily entry keeps the DayType it has.
int TfmWWW::DayType() const
{
    if (RdBWeekly->isChecked())
        return CmBWeekly->currentIndex() + 1;
    if (RdBMonthly->isChecked())
        return NumberIn(*edtMonthly);
    if (RdBOther->isChecked())
        return NumberIn(*edtOther) * 100 + NumberIn(*edtOther1);
    return data.tabStation().FieldByName("DayType").AsInteger();
}

void TfmWWW::WriteEntry()
{
    TTable& station = data.tabStation();
    std::string frequency = FrequencyText();
    int dayType = DayType();
    if (frequency != kFrequencyDaily)
        station.FieldByName("DayType").SetAsInteger(dayType);
    int hour = NumberIn(*edtTime);
    int minute = NumberIn(*edtTime1);

    TField& index = station.FieldByName("Index");
    index.SetAsDateTime(FreeEntryIndex(station, index.IsNull() ? "" : DateTimeToText(index.AsDateTime())));
    station.FieldByName("Frequency").SetAsString(frequency);
    station.FieldByName("Depth").SetAsInteger(NumberIn(*EdtLayout));
    station.FieldByName("QuickMode").SetAsBoolean(RdGMode->ItemIndex() == 0);

    TField& desire = station.FieldByName("desireDateTime");
    desire.SetAsDateTime(NextTime("", frequency, dayType, hour, minute));
    station.FieldByName("NextDesireDateTime").SetAsDateTime(NextTime(desire.AsString(), frequency, dayType, hour, minute));
}

void TfmWWW::BtnOKClick()
{
    if (!Complete())
        return;
    NormaliseAddress();
    if (!AddressFits(*dbEdtURL)) {
        ShowBox(dbEdtURL);
        return;
    }
    if (!SettingsGiven())
        return;
    try {
        WriteEntry();
    } catch (const std::exception& error) {
        Ui().Error(error.what());
        return;
    }
    accept();
}
