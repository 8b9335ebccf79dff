#include "data/field.h"

#include <cmath>
#include <cstdio>

#include "core/text.h"
#include "data/dataset.h"

namespace {

// The first count characters of a UTF-8 text: a character is a lead byte with the
// continuation bytes that follow it.
std::string FirstCharacters(const std::string& text, int count)
{
    int seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && seen++ == count)
            return text.substr(0, i);
    }
    return text;
}

std::string NumberText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

long long IntegerOf(const TValue& value)
{
    if (const auto* integer = std::get_if<long long>(&value))
        return *integer;
    if (const auto* real = std::get_if<double>(&value))
        return std::llround(*real);
    if (const auto* text = std::get_if<std::string>(&value))
        return StrToInt(*text);
    return 0;
}

bool DateTimeOf(const TValue& value, TDateTime& moment)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return TextToDateTime(*text, moment);
    if (const auto* real = std::get_if<double>(&value)) {
        moment = *real;
        return true;
    }
    if (const auto* integer = std::get_if<long long>(&value)) {
        moment = static_cast<TDateTime>(*integer);
        return true;
    }
    return false;
}

bool BooleanOfText(const std::string& text, bool& value)
{
    std::string word = LowerCase(Trim(text));
    if (word == "true" || word == "t" || word == "yes" || word == "y" || word == "1")
        value = true;
    else if (word == "false" || word == "f" || word == "no" || word == "n" || word == "0")
        value = false;
    else
        return false;
    return true;
}

}  // namespace

TField::TField(TDataSet& owner, TFieldDef def, int index, bool calculated)
    : owner(owner), def(std::move(def)), index(index), calculated(calculated), label(this->def.name)
{
}

TValue TField::Value() const
{
    return owner.FieldValue(index);
}

bool TField::IsNull() const
{
    return IsNullValue(Value());
}

std::string TField::TextOf(const TValue& value) const
{
    if (IsNullValue(value))
        return {};
    TDateTime moment = 0;
    switch (def.type) {
    case TFieldType::Boolean:
        if (const auto* text = std::get_if<std::string>(&value)) {
            // A text stored by another program: read as a logical when it is one, else as it is.
            bool truth = false;
            return BooleanOfText(*text, truth) ? (truth ? "True" : "False") : *text;
        }
        return IntegerOf(value) != 0 ? "True" : "False";
    case TFieldType::DateTime:
        return DateTimeOf(value, moment) ? ShortDateTimeText(moment) : std::get<std::string>(value);
    case TFieldType::Date:
        return DateTimeOf(value, moment) ? ShortDateText(moment) : std::get<std::string>(value);
    default:
        break;
    }
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* integer = std::get_if<long long>(&value))
        return std::to_string(*integer);
    return NumberText(std::get<double>(value));
}

std::string TField::AsString() const
{
    return TextOf(Value());
}

int TField::AsInteger() const
{
    TValue value = Value();
    if (def.type == TFieldType::Boolean)
        return IntegerOf(value) != 0 ? 1 : 0;
    return static_cast<int>(IntegerOf(value));
}

bool TField::AsBoolean() const
{
    TValue value = Value();
    bool result = false;
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (!BooleanOfText(*text, result))
            throw EConvertError("'" + *text + "' is not a valid boolean value");
        return result;
    }
    return IntegerOf(value) != 0;
}

TDateTime TField::AsDateTime() const
{
    TValue value = Value();
    TDateTime moment = 0;
    if (IsNullValue(value))
        return 0;
    if (!DateTimeOf(value, moment))
        throw EConvertError("'" + TextOf(value) + "' is not a valid date and time");
    return moment;
}

void TField::Store(TValue value)
{
    owner.SetFieldValue(index, std::move(value));
}

void TField::SetAsString(const std::string& text)
{
    switch (def.type) {
    case TFieldType::String:
        Store(def.size > 0 ? FirstCharacters(text, def.size) : text);
        return;
    case TFieldType::Integer:
    case TFieldType::AutoInc:
        if (Trim(text).empty())
            Store(TValue());
        else
            Store(static_cast<long long>(StrToInt(text)));
        return;
    case TFieldType::Boolean: {
        bool value = false;
        if (Trim(text).empty())
            Store(TValue());
        else if (BooleanOfText(text, value))
            Store(static_cast<long long>(value));
        else
            throw EConvertError("'" + text + "' is not a valid boolean value");
        return;
    }
    case TFieldType::DateTime:
    case TFieldType::Date: {
        TDateTime moment = 0;
        if (Trim(text).empty())
            Store(TValue());
        else if (TextToDateTime(Trim(text), moment))
            SetAsDateTime(moment);
        else
            throw EConvertError("'" + text + "' is not a valid date and time");
        return;
    }
    }
}

void TField::SetAsInteger(int value)
{
    switch (def.type) {
    case TFieldType::String:
        SetAsString(std::to_string(value));
        return;
    case TFieldType::Boolean:
        Store(static_cast<long long>(value != 0));
        return;
    case TFieldType::DateTime:
    case TFieldType::Date:
        SetAsDateTime(static_cast<TDateTime>(value));
        return;
    default:
        Store(static_cast<long long>(value));
        return;
    }
}

void TField::SetAsBoolean(bool value)
{
    switch (def.type) {
    case TFieldType::String:
        SetAsString(value ? "True" : "False");
        return;
    case TFieldType::Boolean:
    case TFieldType::Integer:
        Store(static_cast<long long>(value));
        return;
    default:
        throw EConvertError("Field '" + def.name + "' cannot hold a logical value");
    }
}

void TField::SetAsDateTime(TDateTime value)
{
    switch (def.type) {
    case TFieldType::DateTime:
        Store(DateTimeToText(value));
        return;
    case TFieldType::Date:
        Store(DateToText(value));
        return;
    case TFieldType::String:
        SetAsString(ShortDateTimeText(value));
        return;
    default:
        throw EConvertError("Field '" + def.name + "' cannot hold a date and time");
    }
}

void TField::Clear()
{
    Store(TValue());
}
