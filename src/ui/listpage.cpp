#include "ui/listpage.h"

#include <QMenu>
#include <QSignalBlocker>

#include "core/busyscope.h"
#include "data/table.h"
#include "ui/categorytabs.h"
#include "ui/gridrecordbar.h"
#include "ui/recordscrollbar.h"

namespace {

// The index of the pair that the title click chooses: the ascending one unless it is in
// use already.
std::string Toggled(const std::string& current, const std::string& ascending, const std::string& descending)
{
    return current != ascending ? ascending : descending;
}

}  // namespace

TListPage::TListPage(TTable& table, const TListPageSetup& setup, QWidget* parent)
    : QWidget(parent),
      table(table),
      setup(setup),
      grid(new TTestGrid(this)),
      scrollBar(new TRecordScrollBar(table, setup.largeChange, this)),
      tabSet(new TCategoryTabs(this))
{
    setObjectName(QString::fromStdString(setup.pageName));
    setAutoFillBackground(true);
    grid->setObjectName(QString::fromStdString(setup.gridName));
    scrollBar->setObjectName(QString::fromStdString(setup.scrollBarName));
    tabSet->setObjectName(QString::fromStdString(setup.tabSetName));
    grid->SetScrollBars(setup.gridScrollBars);
    grid->SetDataSet(&table);
    grid->SetColumns(setup.columns);
    grid->OnColumnClick = [this](TTestGrid*, int column, Qt::MouseButton, Qt::KeyboardModifiers) {
        GridColumnClick(column);
    };
    connect(grid, &QAbstractItemView::doubleClicked, this, [this] { GridDblClick(); });
    barLink = new TGridRecordBar(*grid, *scrollBar, table);
    connect(tabSet, &QTabBar::currentChanged, this, [this](int tab) { TabSetChange(tab); });
}

TListPage::~TListPage()
{
    // The grid lets go of the table before the page's members go.
    grid->SetDataSet(nullptr);
}

void TListPage::ShowAllCategories()
{
    tabSet->setCurrentIndex(0);
}

int TListPage::NewRowCategory() const
{
    int tab = tabSet->currentIndex();
    return tab > 0 ? tab : 1;
}

void TListPage::TabSetChange(int tab)
{
    // Detached while it runs, so that what it does to the tab set does not run it again.
    QSignalBlocker detached(tabSet);
    TBusyScope busy("切換網站分類  請稍待");
    table.SetFilter(TCategoryTabs::FilterOf(tab));
    scrollBar->UpdateBar();
    if (setup.topAfterTabChange && scrollBar->isVisible()) {
        scrollBar->SetTag(1);
        scrollBar->setValue(1);
    }
}

void TListPage::GridColumnClick(int column)
{
    TBusyScope busy("資料排序中  請稍待");
    if (column == setup.nameColumn)
        table.SetIndexName(Toggled(table.IndexName(), "alias1", "alias2"));
    else if (column == setup.addressColumn)
        table.SetIndexName(Toggled(table.IndexName(), "url1", "url2"));
    else
        return;
    scrollBar->UpdateBar();
}

void TListPage::GridDblClick()
{
    if (!table.Active() || table.IsEmpty())
        return;
    TField* field = table.FindField("url");
    std::string url = field ? field->AsString() : std::string();
    if (!url.empty() && OnOpenSite)
        OnOpenSite(url);
}

void TListPage::UsePopup(QMenu* menu)
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this, menu](QPoint at) { menu->popup(mapToGlobal(at)); });
    // A scroll area tells the place in its viewport.
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, menu](QPoint at) { menu->popup(grid->viewport()->mapToGlobal(at)); });
}

QRect TListPage::Footer() const
{
    return {0, height() - setup.footerHeight, width(), setup.footerHeight};
}

void TListPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    int tabs = tabSet->sizeHint().height();
    int bottom = height() - setup.footerHeight;
    grid->setGeometry(0, 0, width(), bottom - tabs);
    tabSet->setGeometry(0, bottom - tabs, width(), tabs);
    barLink->Place();
}
