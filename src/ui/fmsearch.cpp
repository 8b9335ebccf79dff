#include "ui/fmsearch.h"

#include <exception>

#include <QGroupBox>
#include <QLabel>

#include "core/busyscope.h"
#include "core/userinterface.h"
#include "data/dmmain.h"
#include "data/field.h"
#include "ui/gridrecordbar.h"
#include "ui/newscheduleentry.h"
#include "ui/radiogroup.h"
#include "ui/recordscrollbar.h"
#include "ui/scheduledsite.h"
#include "ui/searchhost.h"
#include "ui/testgrid.h"

namespace {

const QSize kClientSize(792, 463);
const int kLargeChange = 10;

// The table file of each data source, as the query's SQL names it.
const char* const kSourceTables[] = {"station.db", "Favor.db"};
const char kWhere[] = "where url like :url and alias like :alias";
// The third SQL line of each sort state; none for sortNone.
const char* const kSortLines[] = {"", "order by url", "order by url desc", "order by alias", "order by alias desc"};

// Opened when a hit has no address.
const char kMakerSite[] = "http://www.zanvik.example/";

QLabel* Caption(const QString& text, QRect place, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

QPushButton* Button(const QString& text, int top, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setGeometry(624, top, 158, 28);
    button->setAutoDefault(false);
    return button;
}

std::string Contains(const QLineEdit& box)
{
    return "%" + box.text().toStdString() + "%";
}

}  // namespace

TfmSearch::TfmSearch(TDMMain& data, TSearchHost& host, QWidget* parent)
    : TFixedDialog("尋找資料", kClientSize, Placement::OnTop, parent),
      data(data),
      host(host),
      query(data.Session(), "Query1")
{
    setWindowFlags(windowFlags() | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    query.SetDatabaseName(data.DataFolder());
    query.AddCalcField({"kind_text", TFieldType::String, 8, false});
    query.OnCalcFields = [this](TDataSet& rows) { CalcKindText(rows); };
    MakeSearchBoxes();
    MakeButtons();
    MakeGrid();
}

TfmSearch::~TfmSearch()
{
    // The grid and the bar let go of the query before it goes.
    TestGrid1->SetDataSet(nullptr);
    delete ScrollBar4;
}

void TfmSearch::MakeSearchBoxes()
{
    auto* group = new QGroupBox("欲搜尋資料", this);
    group->setGeometry(10, 6, 410, 124);
    Caption("站台簡稱", QRect(16, 34, 80, 28), group);
    edtAlias = new QLineEdit(group);
    edtAlias->setMaxLength(30);
    edtAlias->setGeometry(100, 34, 294, 28);
    Caption("網頁位址", QRect(16, 78, 80, 28), group);
    edtURL = new QLineEdit(group);
    edtURL->setMaxLength(50);
    edtURL->setGeometry(100, 78, 294, 28);

    RadioGroup1 = new TRadioGroup("資料來源", {"排程區", "電話簿區"}, this);
    RadioGroup1->setGeometry(432, 6, 180, 124);
    RadioGroup1->SetItemIndex(srcPhoneBook);
    connect(RadioGroup1, &TRadioGroup::Clicked, this, [this] { btnOkClick(); });
}

void TfmSearch::MakeButtons()
{
    btnSchedule = Button("列入排程", 8, this);
    btnSchedule->setEnabled(false);
    btnGo = Button("到對應區", 40, this);
    btnGo->setEnabled(false);
    btnOk = Button("開始搜尋", 72, this);
    // Enter in a box starts the search.
    btnOk->setDefault(true);
    btnCancel = Button("離開", 104, this);
    connect(btnSchedule, &QPushButton::clicked, this, [this] { btnScheduleClick(); });
    connect(btnGo, &QPushButton::clicked, this, [this] { btnGoClick(); });
    connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
}

void TfmSearch::MakeGrid()
{
    TestGrid1 = new TTestGrid(this);
    TestGrid1->setGeometry(10, 140, 772, 313);
    TestGrid1->SetScrollBars(TScrollStyle::ssHorizontal);
    TestGrid1->SetColumns({{"kind_text", "站台分類", 80, Qt::AlignCenter},
                           {"alias", "站台簡稱", 249},
                           {"url", "網站位址", 415}});
    TestGrid1->SetDataSet(&query);
    TestGrid1->setEnabled(false);
    TestGrid1->OnColumnClick = [this](TTestGrid*, int column, Qt::MouseButton, Qt::KeyboardModifiers) {
        TestGrid1ColumnClick(column);
    };
    TestGrid1->OnMouseDown = [this](TTestGrid*, Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
        ScrollBar4->UpdateBar();
    };
    connect(TestGrid1, &QAbstractItemView::doubleClicked, this, [this] { TestGrid1DblClick(); });

    ScrollBar4 = new TRecordScrollBar(query, kLargeChange, this);
    ScrollBar4->setObjectName("ScrollBar4");
    new TGridRecordBar(*TestGrid1, *ScrollBar4, query);
}

void TfmSearch::showEvent(QShowEvent* event)
{
    TFixedDialog::showEvent(event);
    edtAlias->setFocus();
}

void TfmSearch::SetParams()
{
    query.ParamByName("url").SetAsString(Contains(*edtURL));
    query.ParamByName("alias").SetAsString(Contains(*edtAlias));
}

// Every hit read looks its category up: the names are read once per opening rather than
// the category table moved for each hit, and the two fields are found by name once.
void TfmSearch::CalcKindText(TDataSet& rows)
{
    if (kindSerialIndex < 0) {
        kindSerialIndex = rows.FieldByName("kind_serial").Index();
        kindTextIndex = rows.FieldByName("kind_text").Index();
    }
    auto text = kindTexts.find(rows.Fields(kindSerialIndex).AsInteger());
    rows.Fields(kindTextIndex).SetAsString(text == kindTexts.end() ? std::string() : text->second);
}

void TfmSearch::ReadKindTexts()
{
    kindTexts.clear();
    TTable& kinds = data.kindTab();
    TField& key = kinds.FieldByName("kind_serial");
    TField& text = kinds.FieldByName("text");
    for (int row = 0; row < kinds.RecordCount(); ++row) {
        TValue serial = kinds.RowValue(row, key.Index());
        if (const auto* number = std::get_if<long long>(&serial))
            kindTexts[static_cast<int>(*number)] = text.TextOf(kinds.RowValue(row, text.Index()));
    }
}

void TfmSearch::OpenQuery()
{
    SetParams();
    ReadKindTexts();
    kindSerialIndex = -1;  // the SQL may have changed
    query.Open();
}

void TfmSearch::btnOkClick()
{
    btnSchedule->setEnabled(false);
    btnGo->setEnabled(false);
    TestGrid1->setEnabled(false);
    try {
        RunSearch();
    } catch (const std::exception& error) {
        Ui().Error(error.what());
        return;
    }
    ShowHits();
}

void TfmSearch::RunSearch()
{
    TBusyScope busy("尋找資料中  請稍待");
    query.Close();
    int source = RadioGroup1->ItemIndex() == srcSchedule ? srcSchedule : srcPhoneBook;
    query.SetSQL({std::string("Select kind_serial, url, Alias from \"") + kSourceTables[source] + "\"", kWhere});
    sortState = sortNone;
    OpenQuery();
}

void TfmSearch::ShowHits()
{
    if (query.IsEmpty()) {
        Ui().Message("沒有符合你要搜尋的資料!");
        return;
    }
    TestGrid1->setEnabled(true);
    btnSchedule->setEnabled(true);
    btnGo->setEnabled(true);
    try {
        ScrollBar4->UpdateBar();
        if (ScrollBar4->isVisible())
            ScrollBar4->setValue(1);
    } catch (const std::exception&) {
        // The hits are listed; a bar that could not follow them only leaves the bar behind.
    }
}

void TfmSearch::TestGrid1ColumnClick(int column)
{
    if (column != 1 && column != 2)
        return;
    try {
        Sort(column);
    } catch (const std::exception& error) {
        Ui().Error(error.what());
    }
}

void TfmSearch::Sort(int column)
{
    TBusyScope busy("資料排序中  請稍待");
    int next = column == 1 ? (sortState == sortAlias ? sortAliasDesc : sortAlias)
                           : (sortState == sortUrl ? sortUrlDesc : sortUrl);
    std::vector<std::string> lines = query.SQL();
    if (sortState != sortNone && lines.size() > 2)
        lines.pop_back();
    lines.push_back(kSortLines[next]);
    if (query.Active()) {
        // The hits are the same rows in another order.
        query.ReorderRows(lines, next == sortUrl || next == sortUrlDesc ? "url" : "alias",
                          next == sortUrlDesc || next == sortAliasDesc);
    } else {
        query.SetSQL(lines);
        OpenQuery();
    }
    sortState = next;
    ScrollBar4->UpdateBar();
}

std::string TfmSearch::HitText(const char* fieldName) const
{
    return query.FieldByName(fieldName).AsString();
}

void TfmSearch::btnScheduleClick()
{
    std::string url = HitText("url");
    if (IsScheduledSite(data, url)) {
        Ui().Message("已經存在預約排程中了");
        return;
    }
    AddToSchedule(url, HitText("alias"), query.FieldByName("kind_serial").AsInteger());
}

void TfmSearch::AddToSchedule(const std::string& url, const std::string& alias, int kind)
{
    TTable& station = data.tabStation();
    try {
        if (!EditNewScheduleEntry(data, host.fmWWW(), url, alias, kind))
            return;
        station.Post();
        if (data.telStation().Active())
            data.telStation().Refresh();  // its scheduled ticks change
    } catch (const std::exception&) {
        // The data module has told the user of a failed post; the new entry is dropped.
        station.Cancel();
    }
}

void TfmSearch::btnGoClick()
{
    if (!query.Active() || query.IsEmpty()) {
        Ui().Message("沒有資料項可供對應");
        return;
    }
    int kind = query.FieldByName("kind_serial").AsInteger();
    std::vector<std::string> hit = {HitText("url"), HitText("alias")};
    if (RadioGroup1->ItemIndex() == srcSchedule) {
        host.SelectScheduleTab(kind);
        host.ShowSchedulePage();
        data.tabStation().Locate("url;alias", hit);
    } else {
        host.ShowPhoneBookPage();
        host.SelectPhoneBookTab(kind);
        data.telStation().Locate("url;alias", hit);
    }
    accept();
}

void TfmSearch::TestGrid1DblClick()
{
    std::string url = HitText("url");
    host.OpenSite(url.empty() ? kMakerSite : url);
    accept();
}
