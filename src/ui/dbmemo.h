#pragma once

#include <string>

#include <QPlainTextEdit>

#include "ui/fieldlink.h"

// A several-line text box bound to a text field, such as a site's description: it shows
// the field and writes what is typed back into it while the data set is being edited, and
// is read-only otherwise. It takes no more characters than the field holds.
class TDBMemo : public QPlainTextEdit {
public:
    TDBMemo(TDataSet& dataSet, const std::string& fieldName, QWidget* parent = nullptr);

private:
    void Show(const std::string& text, bool editing);
    void KeepToWidth();
    void WriteText();

    TFieldLink link;
    bool showing = false;
};
