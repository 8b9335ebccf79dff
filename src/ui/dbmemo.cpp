#include "ui/dbmemo.h"

#include <exception>

#include "core/userinterface.h"
#include "data/databaseerror.h"
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

void TDBMemo::SetAutoEdit(bool value)
{
    autoEdit = value;
    link.Reload();
}

void TDBMemo::Show(const std::string& text, bool editing)
{
    showing = true;
    if (QString shown = QString::fromStdString(text); shown != toPlainText())
        setPlainText(shown);
    setReadOnly(!editing && !(autoEdit && link.HasRecord()));
    showing = false;
}

void TDBMemo::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (autoEdit)
        PostEdit();
}

// What was typed is kept when the user goes elsewhere, not only when the record moves.
void TDBMemo::PostEdit()
{
    TDataSet& dataSet = link.DataSet();
    if (dataSet.State() != TDataSetState::Edit)
        return;
    try {
        dataSet.Post();
    } catch (const std::exception&) {
        // The data module has reported the failed post; the record stays as it was.
        dataSet.Cancel();
    }
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
        if (autoEdit)
            link.AutoEdit();
        link.Write([this](TField& field) { field.SetAsString(toPlainText().toStdString()); });
    } catch (const EAbort&) {
        // The edit was refused and the user told why; the box shows the field again.
        link.Reload();
    } catch (const std::exception& error) {
        Ui().Error(error.what());
        link.Reload();
    }
}
