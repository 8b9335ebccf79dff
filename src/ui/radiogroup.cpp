#include "ui/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {

// Room for the caption in the frame's top edge and a margin inside the other edges.
const int kTopMargin = 22;
const int kMargin = 10;

}  // namespace

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent) : QGroupBox(caption, parent)
{
    auto* group = new QButtonGroup(this);
    for (const QString& text : items) {
        auto* button = new QRadioButton(text, this);
        group->addButton(button, static_cast<int>(buttons.size()));
        buttons.push_back(button);
    }
    connect(group, &QButtonGroup::idClicked, this, &TRadioGroup::Clicked);
}

int TRadioGroup::ItemIndex() const
{
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    if (QRadioButton* button = Item(index))
        button->setChecked(true);
}

QRadioButton* TRadioGroup::Item(int index) const
{
    return index >= 0 && index < ItemCount() ? buttons[static_cast<size_t>(index)] : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    PlaceItems();
}

// The items share the height inside the frame evenly, as the toolkit spaces them.
void TRadioGroup::PlaceItems()
{
    if (buttons.empty())
        return;
    int inner = height() - kTopMargin - kMargin / 2;
    int row = inner / ItemCount();
    for (int i = 0; i < ItemCount(); ++i)
        buttons[static_cast<size_t>(i)]->setGeometry(kMargin, kTopMargin + i * row, width() - 2 * kMargin, row);
}
