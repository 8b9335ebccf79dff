#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QTableView>

class QMouseEvent;
class TDataSet;
class TDataSetModel;
class TField;
class TGridIndicator;
class TGridTitles;

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A column of a grid: the field, a title of the grid's own (empty: the field's title), its
// width in pixels, the alignment of its title and cells, and whether its title stands on
// the info-tip colour instead of the button face.
struct TGridColumn {
    std::string fieldName;
    std::string title;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool infoTipTitle = false;
};

// The data grid of every list: the rows of a data set, one column per visible field under
// the field's title, the current row following the data set's current record both ways.
// It adds a column-click event for presses and releases on one title, and a mouse-down
// event for every press of the left, right or middle button anywhere in the grid.
class TTestGrid : public QTableView {
public:
    using TMouseHandler = std::function<void(TTestGrid* sender, Qt::MouseButton button,
                                             Qt::KeyboardModifiers shift, QPoint position)>;
    using TColumnHandler = std::function<void(TTestGrid* sender, int column, Qt::MouseButton button,
                                              Qt::KeyboardModifiers shift)>;

    explicit TTestGrid(QWidget* parent = nullptr);
    ~TTestGrid() override;

    // Shows data set (not owned; it must outlive the grid or be replaced first); nullptr
    // shows nothing.
    void SetDataSet(TDataSet* dataSet);
    TDataSet* DataSet() const;
    TField* ColumnField(int column) const;
    // The columns in their order; an empty list shows every visible field.
    void SetColumns(std::vector<TGridColumn> value);

    TScrollStyle ScrollBars() const { return scrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool ShowIndicator() const;
    void SetShowIndicator(bool value);

    // The title column last pressed, -1 when none or when the pointer left its title.
    int PressedColumn() const { return pressedColumn; }

    // Column: the data column counted from 0; button and shift of the title press.
    TColumnHandler OnColumnClick;
    // Position in the grid's own coordinates.
    TMouseHandler OnMouseDown;
    TMouseHandler OnMouseUp;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void DoMouseDown(QMouseEvent* event);
    void TitlePress(QMouseEvent* event);
    void PointerMoved(QMouseEvent* event, bool onTitle);
    void Released(QMouseEvent* event);
    int ColumnUnder(QPointF globalPosition) const;
    void FollowDataSet(int row);
    void ChooseColumns();
    void ApplyColumns();

    std::unique_ptr<TDataSetModel> dataModel;
    std::vector<TGridColumn> gridColumns;
    TGridIndicator* indicator;
    TGridTitles* titles;
    TScrollStyle scrollBars = TScrollStyle::ssBoth;
    int pressedColumn = -1;
    Qt::MouseButton pressedButton = Qt::NoButton;
    Qt::KeyboardModifiers pressedShift;
    bool following = false;
};
