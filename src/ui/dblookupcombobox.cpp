#include "ui/dblookupcombobox.h"

#include <exception>

#include "core/text.h"
#include "core/userinterface.h"
#include "data/field.h"

namespace {

int KeyOfText(const std::string& text)
{
    long long value = 0;
    return TryToInt(text, value) ? static_cast<int>(value) : -1;
}

}  // namespace

TDBLookupComboBox::TDBLookupComboBox(TDataSet& dataSet, const std::string& fieldName, TDataSet& lookup,
                                     std::string keyField, std::string listField, QWidget* parent)
    : QComboBox(parent), lookup(lookup), keyField(std::move(keyField)), listField(std::move(listField)),
      link(dataSet, fieldName, [this](const std::string& text, bool editing) { Show(text, editing); })
{
    setEditable(false);
    lookupObserver = lookup.AddObserver([this](TDataEvent event) {
        if (event == TDataEvent::DataChanged)
            FillList();
    });
    connect(this, &QComboBox::activated, this, [this](int item) { Chosen(item); });
    FillList();
}

TDBLookupComboBox::~TDBLookupComboBox()
{
    lookup.RemoveObserver(lookupObserver);
}

int TDBLookupComboBox::KeyOf(int item) const
{
    return item >= 0 && item < static_cast<int>(keys.size()) ? keys[static_cast<size_t>(item)] : -1;
}

// The look-up rows are read in place, so that the look-up data set's current record stays.
void TDBLookupComboBox::FillList()
{
    showing = true;
    clear();
    keys.clear();
    TField* key = lookup.Active() ? lookup.FindField(keyField) : nullptr;
    TField* text = lookup.Active() ? lookup.FindField(listField) : nullptr;
    if (key && text) {
        for (int row = 0; row < lookup.RecordCount(); ++row) {
            keys.push_back(KeyOfText(key->TextOf(lookup.RowValue(row, key->Index()))));
            addItem(QString::fromStdString(text->TextOf(lookup.RowValue(row, text->Index()))));
        }
    }
    showing = false;
    link.Reload();
}

void TDBLookupComboBox::Show(const std::string& text, bool editing)
{
    showing = true;
    int key = KeyOfText(text);
    int item = -1;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i] == key)
            item = static_cast<int>(i);
    setCurrentIndex(item);
    setEnabled(editing);
    showing = false;
}

void TDBLookupComboBox::Chosen(int item)
{
    if (showing || item < 0)
        return;
    try {
        link.Write([this, item](TField& field) { field.SetAsInteger(KeyOf(item)); });
    } catch (const std::exception& error) {
        Ui().Error(error.what());
        link.Reload();
    }
}
