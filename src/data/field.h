#pragma once

#include <string>

#include "core/datetime.h"
#include "data/fielddef.h"
#include "data/value.h"

class TDataSet;

// One field of a data set, reading and writing the data set's current record. Values are
// converted as the toolkit's field objects convert them: a null reads as "", 0, false or
// 0.0; date-times read as the user's short date and long time ("YYYY/MM/DD HH:MM:SS") and
// are stored as "YYYY-MM-DD HH:MM:SS" ("YYYY-MM-DD" in date fields); logicals read as
// "True" / "False". A text longer than an alpha field is cut to the field's width, counted
// in characters, when it is assigned, so no longer text is ever stored.
class TField {
public:
    TField(TDataSet& owner, TFieldDef def, int index, bool calculated);

    const std::string& FieldName() const { return def.name; }
    TFieldType DataType() const { return def.type; }
    int Size() const { return def.size; }
    bool Required() const { return def.required; }
    bool Calculated() const { return calculated; }
    int Index() const { return index; }  // position in the record
    const TFieldDef& Def() const { return def; }

    const std::string& DisplayLabel() const { return label; }
    bool Visible() const { return visible; }
    void SetDisplayLabel(const std::string& text) { label = text; }
    void SetVisible(bool value) { visible = value; }

    bool IsNull() const;
    TValue Value() const;
    std::string AsString() const;
    int AsInteger() const;
    bool AsBoolean() const;
    TDateTime AsDateTime() const;

    // Raise EDatabaseError outside Edit and Insert state, EConvertError for a text that is
    // not of the field's type.
    void SetAsString(const std::string& text);
    void SetAsInteger(int value);
    void SetAsBoolean(bool value);
    void SetAsDateTime(TDateTime value);
    void Clear();

    // The text of a stored value of this field, as AsString gives it.
    std::string TextOf(const TValue& value) const;

private:
    void Store(TValue value);

    TDataSet& owner;
    TFieldDef def;
    int index;
    bool calculated;
    std::string label;
    bool visible = true;
};
