#include "ui/listpage.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QWheelEvent>

#include "core/busyscope.h"
#include "data/table.h"
#include "ui/categorytabs.h"
#include "ui/recordscrollbar.h"

namespace {

bool IsRowKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

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
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    connect(tabSet, &QTabBar::currentChanged, this, [this](int tab) { TabSetChange(tab); });
    scrollBar->raise();
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

// The row keys move the record scroll bar first; the grid gets the key only when the bar
// did not move the record (at either end of the list).
bool TListPage::GridKeyDown(QKeyEvent* event)
{
    if (!scrollBar->isVisible() || !IsRowKey(event->key()))
        return false;
    int before = table.RecNo();
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat(),
                   static_cast<ushort>(event->count()));
    QCoreApplication::sendEvent(scrollBar, &copy);
    return table.RecNo() != before;
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

bool TListPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid && event->type() == QEvent::KeyPress)
        return GridKeyDown(static_cast<QKeyEvent*>(event));
    if (watched == grid->viewport()) {
        if (event->type() == QEvent::Resize)
            PlaceScrollBar();
        // The wheel moves through the records, as the bar beside the rows does.
        if (event->type() == QEvent::Wheel && scrollBar->isVisible()) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->angleDelta().y() != 0) {
                QCoreApplication::sendEvent(scrollBar, wheel);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TListPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    int tabs = tabSet->sizeHint().height();
    grid->setGeometry(0, 0, width(), height() - tabs);
    tabSet->setGeometry(0, height() - tabs, width(), tabs);
    PlaceScrollBar();
}

// Over the grid's right edge inside its frame, down to the grid's horizontal scroll bar,
// so that it also covers the grid's own vertical one.
void TListPage::PlaceScrollBar()
{
    QRect rows = grid->viewport()->geometry().translated(grid->pos());
    int width = scrollBar->sizeHint().width();
    int top = grid->y() + grid->frameWidth();
    int right = grid->geometry().right() - grid->frameWidth();
    scrollBar->setGeometry(right - width + 1, top, width, rows.bottom() - top + 1);
}
