#include "ui/testgrid.h"

#include <exception>

#include <QHeaderView>
#include <QMouseEvent>

#include "core/text.h"
#include "core/userinterface.h"
#include "data/datasetmodel.h"
#include "data/field.h"
#include "ui/gridindicator.h"
#include "ui/gridtitles.h"

namespace {

bool IsGridButton(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
}

}  // namespace

TTestGrid::TTestGrid(QWidget* parent)
    : QTableView(parent), indicator(new TGridIndicator(this)), titles(new TGridTitles(this))
{
    setHorizontalHeader(titles);
    setVerticalHeader(indicator);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    indicator->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->viewport()->installEventFilter(this);
    indicator->viewport()->installEventFilter(this);
}

TTestGrid::~TTestGrid()
{
    setModel(nullptr);
}

void TTestGrid::SetDataSet(TDataSet* dataSet)
{
    setModel(nullptr);
    dataModel.reset();
    if (!dataSet)
        return;
    dataModel = std::make_unique<TDataSetModel>(*dataSet);
    setModel(dataModel.get());
    connect(dataModel.get(), &TDataSetModel::currentRowChanged, this, [this](int row) { FollowDataSet(row); });
    // A reset of the model gives the title row its default widths back.
    connect(dataModel.get(), &QAbstractItemModel::modelReset, this, [this] {
        ApplyColumns();
        FollowDataSet(dataModel->CurrentRow());
    });
    ChooseColumns();
    FollowDataSet(dataModel->CurrentRow());
}

void TTestGrid::SetColumns(std::vector<TGridColumn> value)
{
    gridColumns = std::move(value);
    if (dataModel)
        ChooseColumns();
}

void TTestGrid::ChooseColumns()
{
    std::vector<TModelColumn> chosen;
    for (const TGridColumn& column : gridColumns)
        chosen.push_back({column.fieldName, column.title, column.alignment});
    dataModel->SetColumns(std::move(chosen));
}

void TTestGrid::ApplyColumns()
{
    for (int column = 0; column < dataModel->columnCount(); ++column) {
        TField* field = dataModel->FieldOfColumn(column);
        for (const TGridColumn& choice : gridColumns)
            if (field && LowerCase(field->FieldName()) == LowerCase(choice.fieldName)) {
                horizontalHeader()->resizeSection(column, choice.width);
                titles->SetInfoTip(column, choice.infoTipTitle);
            }
    }
}

TDataSet* TTestGrid::DataSet() const
{
    return dataModel ? &dataModel->DataSet() : nullptr;
}

TField* TTestGrid::ColumnField(int column) const
{
    return dataModel ? dataModel->FieldOfColumn(column) : nullptr;
}

void TTestGrid::SetScrollBars(TScrollStyle value)
{
    scrollBars = value;
    bool horizontal = value == TScrollStyle::ssHorizontal || value == TScrollStyle::ssBoth;
    bool vertical = value == TScrollStyle::ssVertical || value == TScrollStyle::ssBoth;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

bool TTestGrid::ShowIndicator() const
{
    return !indicator->isHidden();
}

void TTestGrid::SetShowIndicator(bool value)
{
    indicator->setVisible(value);
}

// The view's current row follows the data set's current record.
void TTestGrid::FollowDataSet(int row)
{
    indicator->SetCurrentRow(row);
    if (following || !dataModel)
        return;
    following = true;
    int column = currentIndex().isValid() ? currentIndex().column() : 0;
    if (row < 0)
        setCurrentIndex(QModelIndex());
    else
        setCurrentIndex(dataModel->index(row, column));
    following = false;
}

// And the data set's current record follows the view.
void TTestGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (following || !dataModel || !current.isValid() || current.row() == dataModel->CurrentRow())
        return;
    following = true;
    try {
        dataModel->DataSet().SetRecNo(current.row() + 1);
    } catch (const std::exception& error) {
        // A pending edit that cannot be posted keeps the record where it was.
        Ui().Error(error.what());
    }
    following = false;
    FollowDataSet(dataModel->CurrentRow());
}

int TTestGrid::ColumnUnder(QPointF globalPosition) const
{
    QPoint inGrid = mapFromGlobal(globalPosition.toPoint());
    if (!rect().contains(inGrid))
        return -1;
    return columnAt(viewport()->mapFromGlobal(globalPosition.toPoint()).x());
}

void TTestGrid::TitlePress(QMouseEvent* event)
{
    int column = horizontalHeader()->logicalIndexAt(event->position().toPoint());
    if (column < 0)
        return;
    pressedColumn = column;
    pressedButton = event->button();
    pressedShift = event->modifiers();
}

void TTestGrid::PointerMoved(QMouseEvent* event, bool onTitle)
{
    if (pressedColumn < 0)
        return;
    QWidget* title = horizontalHeader()->viewport();
    QPoint position = title->mapFromGlobal(event->globalPosition().toPoint());
    bool onItsTitle = onTitle && title->rect().contains(position)
        && horizontalHeader()->logicalIndexAt(position) == pressedColumn;
    if (!onItsTitle)
        pressedColumn = -1;
}

void TTestGrid::Released(QMouseEvent* event)
{
    if (pressedColumn >= 0 && ColumnUnder(event->globalPosition()) == pressedColumn && OnColumnClick)
        OnColumnClick(this, pressedColumn, pressedButton, pressedShift);
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->modifiers(), mapFromGlobal(event->globalPosition().toPoint()));
}

void TTestGrid::DoMouseDown(QMouseEvent* event)
{
    if (!IsGridButton(event->button()))
        return;
    if (OnMouseDown)
        OnMouseDown(this, event->button(), event->modifiers(), mapFromGlobal(event->globalPosition().toPoint()));
}

bool TTestGrid::eventFilter(QObject* watched, QEvent* event)
{
    bool onTitle = watched == horizontalHeader()->viewport();
    if (!onTitle && watched != indicator->viewport())
        return QTableView::eventFilter(watched, event);
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (onTitle && IsGridButton(mouse->button()))
            TitlePress(mouse);
        DoMouseDown(mouse);
        break;
    case QEvent::MouseMove:
        PointerMoved(mouse, onTitle);
        break;
    case QEvent::MouseButtonRelease:
        Released(mouse);
        break;
    default:
        break;
    }
    return QTableView::eventFilter(watched, event);
}

void TTestGrid::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    DoMouseDown(event);
}

void TTestGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    DoMouseDown(event);
}

void TTestGrid::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    PointerMoved(event, false);
}

void TTestGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    Released(event);
}
