#include "ui/dbedit.h"

#include <exception>

#include <QRegularExpressionValidator>

#include "core/userinterface.h"
#include "data/field.h"

TDBEdit::TDBEdit(TDataSet& dataSet, const std::string& fieldName, QWidget* parent)
    : QLineEdit(parent), link(dataSet, fieldName, [this](const std::string& text, bool editing) { Show(text, editing); })
{
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!showing && WritesAsTyped())
            WriteText();
    });
    link.Reload();
}

void TDBEdit::SetMaxLength(int characters)
{
    lengthLimit = characters;
    setMaxLength(characters > 0 ? characters : 32767);
}

void TDBEdit::FitToField(const TField& field)
{
    if (lengthLimit < 0 && field.DataType() == TFieldType::String && field.Size() > 0)
        setMaxLength(field.Size());
    if (field.DataType() == TFieldType::Integer && !validator())
        setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), this));
}

bool TDBEdit::TextFits() const
{
    TField* field = link.Field();
    if (!field || field->DataType() != TFieldType::String || field->Size() <= 0)
        return true;
    return text().toUcs4().size() <= field->Size();
}

void TDBEdit::Show(const std::string& text, bool editing)
{
    showing = true;
    if (TField* field = link.Field())
        FitToField(*field);
    if (QString shown = QString::fromStdString(text); shown != this->text())
        setText(shown);
    setReadOnly(!editing);
    showing = false;
}

// Texts and numbers are stored as typed; a date is stored when the box is left, since
// half a date is not one yet.
bool TDBEdit::WritesAsTyped() const
{
    TField* field = link.Field();
    return field && (field->DataType() == TFieldType::String || field->DataType() == TFieldType::Integer);
}

void TDBEdit::WriteText()
{
    try {
        link.Write([this](TField& field) { field.SetAsString(text().toStdString()); });
    } catch (const std::exception& error) {
        Ui().Error(error.what());
        link.Reload();
    }
}

void TDBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!WritesAsTyped())
        WriteText();
}
