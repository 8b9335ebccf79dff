#include "data/datasetmodel.h"

#include <exception>

TDataSetModel::TDataSetModel(TDataSet& dataSet, QObject* parent) : QAbstractTableModel(parent), dataSet(dataSet)
{
    FindColumns();
    observer = dataSet.AddObserver([this](TDataEvent event) { DataSetEvent(event); });
}

TDataSetModel::~TDataSetModel()
{
    dataSet.RemoveObserver(observer);
}

void TDataSetModel::SetColumns(std::vector<TModelColumn> chosen)
{
    beginResetModel();
    chosenColumns = std::move(chosen);
    FindColumns();
    endResetModel();
}

void TDataSetModel::FindColumns()
{
    columns.clear();
    columnChoices.clear();
    if (chosenColumns.empty()) {
        for (int i = 0; i < dataSet.FieldCount(); ++i)
            if (dataSet.Fields(i).Visible()) {
                columns.push_back(i);
                columnChoices.push_back(nullptr);
            }
        return;
    }
    if (!dataSet.Active())
        return;
    for (const TModelColumn& choice : chosenColumns)
        if (TField* field = dataSet.FindField(choice.fieldName)) {
            columns.push_back(field->Index());
            columnChoices.push_back(&choice);
        }
}

void TDataSetModel::DataSetEvent(TDataEvent event)
{
    switch (event) {
    case TDataEvent::DataChanged:
        beginResetModel();
        FindColumns();
        endResetModel();
        emit currentRowChanged(CurrentRow());
        break;
    case TDataEvent::RecordMoved:
        emit currentRowChanged(CurrentRow());
        break;
    case TDataEvent::RecordChanged:
        if (int row = CurrentRow(); row >= 0 && !columns.empty())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        break;
    }
}

int TDataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !dataSet.Active() ? 0 : dataSet.RecordCount();
}

int TDataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns.size());
}

TField* TDataSetModel::FieldOfColumn(int column) const
{
    if (column < 0 || column >= static_cast<int>(columns.size()))
        return nullptr;
    return &dataSet.Fields(columns[static_cast<size_t>(column)]);
}

int TDataSetModel::CurrentRow() const
{
    return dataSet.RecNo() - 1;
}

const TModelColumn* TDataSetModel::ChoiceOfColumn(int column) const
{
    if (column < 0 || column >= static_cast<int>(columnChoices.size()))
        return nullptr;
    return columnChoices[static_cast<size_t>(column)];
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const
{
    TField* field = FieldOfColumn(index.column());
    if (role == Qt::TextAlignmentRole) {
        const TModelColumn* choice = ChoiceOfColumn(index.column());
        return choice ? QVariant::fromValue(choice->alignment) : QVariant();
    }
    if (!field || role != Qt::DisplayRole)
        return {};
    // The view calls this while it paints, where an error would end the program; a value
    // that cannot be shown shows as empty.
    try {
        return QString::fromStdString(field->TextOf(dataSet.RowValue(index.row(), field->Index())));
    } catch (const std::exception&) {
        return {};
    }
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const TModelColumn* choice = orientation == Qt::Horizontal ? ChoiceOfColumn(section) : nullptr;
    if (role == Qt::TextAlignmentRole && choice)
        return QVariant::fromValue(choice->alignment);
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    TField* field = FieldOfColumn(section);
    if (!field)
        return {};
    return QString::fromStdString(choice && !choice->title.empty() ? choice->title : field->DisplayLabel());
}
