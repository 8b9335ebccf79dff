#pragma once

#include <string>

#include <QPlainTextEdit>

#include "ui/fieldlink.h"

// A several-line text box bound to a text field, such as a site's description: it shows
// the field and writes what is typed back into it while the data set is being edited, and
// is read-only otherwise. It takes no more characters than the field holds.
//
// With automatic editing it is editable in place whenever there is a current record:
// typing puts the record into Edit state, and the edit is posted when the box loses the
// focus (or, as usual, when the data set moves to another record).
class TDBMemo : public QPlainTextEdit {
public:
    TDBMemo(TDataSet& dataSet, const std::string& fieldName, QWidget* parent = nullptr);

    bool AutoEdit() const { return autoEdit; }
    void SetAutoEdit(bool value);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Show(const std::string& text, bool editing);
    void PostEdit();
    void KeepToWidth();
    void WriteText();

    TFieldLink link;
    bool showing = false;
    bool autoEdit = false;
};
