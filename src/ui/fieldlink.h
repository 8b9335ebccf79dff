#pragma once

#include <functional>
#include <string>

#include "data/dataset.h"

class TField;

// What a data-aware control shares: the field it shows, by name, on one data set. It tells
// the control to show the field again when the record changes, and writes the control's
// value into the field while the data set is in Edit or Insert state.
//
// The data set must outlive the control.
//
// A control keeps what it shows when the field still holds what the control last wrote or
// read: an alpha field cuts a long text to its width, and the control must go on showing
// the whole text the user typed, so that a dialog can refuse it rather than store the cut.
class TFieldLink {
public:
    // show(text) puts the field's text into the control and makes it editable or not.
    TFieldLink(TDataSet& dataSet, std::string fieldName, std::function<void(const std::string&, bool)> show);
    ~TFieldLink();
    TFieldLink(const TFieldLink&) = delete;
    TFieldLink& operator=(const TFieldLink&) = delete;

    TDataSet& DataSet() const { return dataSet; }
    TField* Field() const;  // nullptr while the data set is closed or has no such field
    bool Editing() const;
    // There is a current record whose field can be edited.
    bool HasRecord() const;

    // Puts the current record into Edit state for a change the user began in the control,
    // as a data source with automatic editing does; the control keeps what it shows.
    // Errors of the edit (a record locked elsewhere) reach the caller.
    void AutoEdit();

    // Writes through the field while editing; nothing otherwise. Errors of the field
    // (a text that is not of its type) reach the caller.
    void Write(const std::function<void(TField&)>& write);
    // Shows the field again, whatever the control holds.
    void Reload();

private:
    void DataSetEvent(TDataEvent event);
    std::string FieldText() const;

    TDataSet& dataSet;
    std::string fieldName;
    std::function<void(const std::string&, bool)> show;
    int observer = 0;
    bool writing = false;
    std::string lastText;
    TDataSetState lastState = TDataSetState::Inactive;
};
