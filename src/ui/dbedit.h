#pragma once

#include <string>

#include <QLineEdit>

#include "ui/fieldlink.h"

class TField;

// A one-line edit bound to a field of a data set. It shows the current record's field and
// writes what is typed back into it while the data set is in Edit or Insert state; it is
// read-only otherwise. An alpha field limits what can be typed to the field's width unless
// the window sets another limit; an integer field takes digits only.
class TDBEdit : public QLineEdit {
public:
    TDBEdit(TDataSet& dataSet, const std::string& fieldName, QWidget* parent = nullptr);

    TFieldLink& Link() { return link; }
    const TFieldLink& Link() const { return link; }
    // Characters that can be typed; 0 for no limit of the control's own.
    void SetMaxLength(int characters);
    // True when the text fits the field's width, so storing it cuts nothing.
    bool TextFits() const;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Show(const std::string& text, bool editing);
    void WriteText();
    bool WritesAsTyped() const;
    void FitToField(const TField& field);

    TFieldLink link;
    bool showing = false;
    int lengthLimit = -1;  // -1: the field's width
};
