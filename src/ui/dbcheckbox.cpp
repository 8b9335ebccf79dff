#include "ui/dbcheckbox.h"

#include <exception>

#include "core/userinterface.h"
#include "data/field.h"

TDBCheckBox::TDBCheckBox(const QString& caption, TDataSet& dataSet, const std::string& fieldName, QWidget* parent)
    : QCheckBox(caption, parent),
      link(dataSet, fieldName, [this](const std::string& text, bool editing) { Show(text, editing); })
{
    connect(this, &QCheckBox::clicked, this, [this](bool checked) { Clicked(checked); });
    link.Reload();
}

void TDBCheckBox::Show(const std::string& text, bool editing)
{
    setChecked(text == "True");
    setEnabled(editing);
}

void TDBCheckBox::Clicked(bool checked)
{
    try {
        link.Write([checked](TField& field) { field.SetAsBoolean(checked); });
    } catch (const std::exception& error) {
        Ui().Error(error.what());
        link.Reload();
    }
}
