#pragma once

#include <QHeaderView>

// The row indicator column of a data grid: a narrow column that marks the current
// record with a small arrow instead of numbering the rows.
class TGridIndicator : public QHeaderView {
public:
    explicit TGridIndicator(QWidget* parent = nullptr);

    void SetCurrentRow(int row);
    int CurrentRow() const { return currentRow; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sizeHint() const override;

private:
    int currentRow = -1;
};
