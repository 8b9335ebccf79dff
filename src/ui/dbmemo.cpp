#include "ui/dbmemo.h"

#include <exception>

#include "core/userinterface.h"
#include "data/field.h"

TDBMemo::TDBMemo(TDataSet& dataSet, const std::string& fieldName, QWidget* parent)
    : QPlainTextEdit(parent),
      link(dataSet, fieldName, [this](const std::string& text, bool editing) { Show(text, editing); })
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing)
            WriteText();
    });
    link.Reload();
}

void TDBMemo::Show(const std::string& text, bool editing)
{
    showing = true;
    if (QString shown = QString::fromStdString(text); shown != toPlainText())
        setPlainText(shown);
    setReadOnly(!editing);
    showing = false;
}

// Like an edit's length limit: what goes past the field's width is not taken, in sight
// of the user, rather than cut unseen when the record is stored.
void TDBMemo::KeepToWidth()
{
    TField* field = link.Field();
    if (!field || field->DataType() != TFieldType::String || field->Size() <= 0)
        return;
    QList<uint> characters = toPlainText().toUcs4();
    if (characters.size() <= field->Size())
        return;
    characters.resize(field->Size());
    showing = true;
    setPlainText(QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.data()), characters.size()));
    moveCursor(QTextCursor::End);
    showing = false;
}

void TDBMemo::WriteText()
{
    KeepToWidth();
    try {
        link.Write([this](TField& field) { field.SetAsString(toPlainText().toStdString()); });
    } catch (const std::exception& error) {
        Ui().Error(error.what());
        link.Reload();
    }
}
