#include "data/param.h"

TParam::TParam(std::string name) : name(std::move(name))
{
}

void TParam::SetAsString(const std::string& text)
{
    value = text;
}

void TParam::SetAsInteger(long long number)
{
    value = number;
}

void TParam::SetAsBoolean(bool flag)
{
    value = static_cast<long long>(flag);
}

void TParam::SetAsDateTime(TDateTime moment)
{
    value = DateTimeToText(moment);
}

void TParam::Clear()
{
    value = TValue();
}
