#pragma once

#include <vector>

#include <QGroupBox>
#include <QStringList>

class QRadioButton;

// A framed group of options of which one is chosen, the items one under another: the
// toolkit's radio group. ItemIndex is the chosen item, -1 before one is chosen; an index
// outside the items changes nothing.
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const;
    int ItemCount() const { return static_cast<int>(buttons.size()); }

signals:
    // The user chose an item (not sent for SetItemIndex).
    void Clicked(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceItems();

    std::vector<QRadioButton*> buttons;
};
