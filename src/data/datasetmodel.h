#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "data/dataset.h"

// A column chosen for a grid: the field, a title of the grid's own (empty: the field's
// title) and the alignment of the title and the cells.
struct TModelColumn {
    std::string fieldName;
    std::string title;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// A Qt item model over a data set for the grids: one row per record, one column per
// visible field headed by the field's title, or the columns chosen for the grid in their
// order. It follows the data set (rows read again, current record moved, record edited)
// and must not outlive it.
class TDataSetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TDataSetModel(TDataSet& dataSet, QObject* parent = nullptr);
    ~TDataSetModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Chooses the columns; an empty list shows every visible field. A field the data set
    // does not have (or not while it is closed) gives no column.
    void SetColumns(std::vector<TModelColumn> chosen);

    TDataSet& DataSet() const { return dataSet; }
    TField* FieldOfColumn(int column) const;
    int CurrentRow() const;  // -1 when there is no current record

signals:
    void currentRowChanged(int row);

private:
    void DataSetEvent(TDataEvent event);
    void FindColumns();
    const TModelColumn* ChoiceOfColumn(int column) const;

    TDataSet& dataSet;
    int observer = 0;
    std::vector<TModelColumn> chosenColumns;
    std::vector<int> columns;  // field index of each column
    std::vector<const TModelColumn*> columnChoices;  // the choice behind each column, or nullptr
};
