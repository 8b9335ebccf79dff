#pragma once

#include <string>
#include <vector>

#include <QComboBox>

#include "ui/fieldlink.h"

// A drop-down list bound to a field: it lists a text field of a look-up data set (the
// category names of kind.db) and stores the look-up row's key (its Kind_Serial) in the
// bound field. It follows the look-up data set when its rows change, and is disabled
// while the bound data set is not being edited. Both data sets must outlive it.
class TDBLookupComboBox : public QComboBox {
public:
    TDBLookupComboBox(TDataSet& dataSet, const std::string& fieldName, TDataSet& lookup,
                      std::string keyField, std::string listField, QWidget* parent = nullptr);
    ~TDBLookupComboBox() override;

    // The key of the chosen item, or of none (-1).
    int KeyOf(int item) const;

private:
    void FillList();
    void Show(const std::string& text, bool editing);
    void Chosen(int item);

    TDataSet& lookup;
    std::string keyField;
    std::string listField;
    std::vector<int> keys;
    int lookupObserver = 0;
    bool showing = false;
    TFieldLink link;
};
