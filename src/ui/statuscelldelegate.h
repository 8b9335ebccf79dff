#pragma once

#include <functional>

#include <QImage>
#include <QStyledItemDelegate>

// The owner-drawn status cells of the lists: a white cell with a small picture chosen by
// the cell's text (a tick, a failure mark, a cross) instead of the text. Every picture is
// placed as if it had the size of the box, centred in the cell, so that marks of different
// sizes line up.
class TStatusCellDelegate : public QStyledItemDelegate {
public:
    // The picture for a cell's text, or nullptr for none.
    using TPick = std::function<const QImage*(const QString& text)>;

    TStatusCellDelegate(TPick pick, QSize box, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where a picture goes in a cell.
    QPoint PictureOrigin(const QRect& cell) const;

private:
    TPick pick;
    QSize box;
};
