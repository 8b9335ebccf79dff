#pragma once

#include <vector>

#include <QAbstractTableModel>

#include "data/dataset.h"

// A Qt item model over a data set for the grids: one row per record, one column per
// visible field, headed by the field's title. It follows the data set (rows read again,
// current record moved, record edited) and must not outlive it.
class TDataSetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TDataSetModel(TDataSet& dataSet, QObject* parent = nullptr);
    ~TDataSetModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    TDataSet& DataSet() const { return dataSet; }
    TField* FieldOfColumn(int column) const;
    int CurrentRow() const;  // -1 when there is no current record

signals:
    void currentRowChanged(int row);

private:
    void DataSetEvent(TDataEvent event);
    void FindColumns();

    TDataSet& dataSet;
    int observer = 0;
    std::vector<int> columns;  // field index of each column
};
