#include "ui/fieldlink.h"

#include "data/field.h"

TFieldLink::TFieldLink(TDataSet& dataSet, std::string fieldName, std::function<void(const std::string&, bool)> show)
    : dataSet(dataSet), fieldName(std::move(fieldName)), show(std::move(show))
{
    observer = dataSet.AddObserver([this](TDataEvent event) { DataSetEvent(event); });
}

TFieldLink::~TFieldLink()
{
    dataSet.RemoveObserver(observer);
}

TField* TFieldLink::Field() const
{
    return dataSet.Active() ? dataSet.FindField(fieldName) : nullptr;
}

bool TFieldLink::Editing() const
{
    TDataSetState state = dataSet.State();
    return Field() && (state == TDataSetState::Edit || state == TDataSetState::Insert);
}

bool TFieldLink::HasRecord() const
{
    return Field() && !dataSet.IsEmpty();
}

void TFieldLink::AutoEdit()
{
    if (Editing() || !HasRecord())
        return;
    writing = true;
    try {
        dataSet.Edit();
    } catch (...) {
        writing = false;
        throw;
    }
    writing = false;
    lastState = dataSet.State();
}

std::string TFieldLink::FieldText() const
{
    TField* field = Field();
    if (!field || (dataSet.IsEmpty() && dataSet.State() != TDataSetState::Insert))
        return "";
    return field->AsString();
}

void TFieldLink::Reload()
{
    lastText = FieldText();
    lastState = dataSet.State();
    show(lastText, Editing());
}

void TFieldLink::DataSetEvent(TDataEvent event)
{
    if (writing)
        return;
    // Another record, or the same one entering or leaving an edit: show the field as it
    // is. A change in place: only when the field no longer holds what was shown.
    if (event != TDataEvent::RecordChanged || dataSet.State() != lastState || FieldText() != lastText)
        Reload();
}

void TFieldLink::Write(const std::function<void(TField&)>& write)
{
    if (!Editing())
        return;
    writing = true;
    try {
        write(*Field());
    } catch (...) {
        writing = false;
        throw;
    }
    writing = false;
    lastText = FieldText();
}
