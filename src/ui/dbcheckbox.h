#pragma once

#include <string>

#include <QCheckBox>

#include "ui/fieldlink.h"

// A check box bound to a logical field: checked when the field is true, and writing its
// state into the field when the user clicks it while the data set is being edited.
class TDBCheckBox : public QCheckBox {
public:
    TDBCheckBox(const QString& caption, TDataSet& dataSet, const std::string& fieldName, QWidget* parent = nullptr);

private:
    void Show(const std::string& text, bool editing);
    void Clicked(bool checked);

    TFieldLink link;
};
