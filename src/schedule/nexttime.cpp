#include "schedule/nexttime.h"

#include <cmath>

#include "core/text.h"

namespace {

// Every weekday, day of the month and date of the year (the 29th of February included)
// comes round within one leap cycle.
const int kSearchDays = 1461;

CivilTime NextDay(CivilTime moment)
{
    if (++moment.day > DaysInMonth(moment.year, moment.month)) {
        moment.day = 1;
        if (++moment.month > 12) {
            moment.month = 1;
            ++moment.year;
        }
    }
    return moment;
}

CivilTime AddDays(CivilTime moment, long long days)
{
    CivilTime date = DecodeDateTime(EncodeDate(moment.year, moment.month, moment.day) + static_cast<double>(days));
    moment.year = date.year;
    moment.month = date.month;
    moment.day = date.day;
    return moment;
}

TDateTime Encode(const CivilTime& moment)
{
    return EncodeDateTime(moment);
}

CivilTime BaseMoment(const std::string& previous, int hour, int minute)
{
    CivilTime base;
    if (Trim(previous).empty()) {
        base = DecodeDateTime(Today());
        base.hour = hour;
        base.minute = minute;
        base.second = 0;
    } else {
        TDateTime moment = 0;
        if (!TextToDateTime(Trim(previous), moment))
            throw EConvertError("'" + previous + "' is not a valid date and time");
        base = NextDay(DecodeDateTime(moment));
    }
    base.millisecond = 0;
    return base;
}

CivilTime Daily(const CivilTime& base)
{
    TDateTime today = Today();
    if (EncodeDate(base.year, base.month, base.day) == today)
        return base;
    TDateTime now = Now();
    CivilTime candidate = base;
    // A far-past base steps over whole days at once; the last steps are day by day.
    if (double behind = std::floor(now - Encode(candidate)) - 1; behind > 0)
        candidate = AddDays(candidate, static_cast<long long>(behind));
    while (now > Encode(candidate))
        candidate = NextDay(candidate);
    return candidate;
}

template <typename Matches>
CivilTime Search(const CivilTime& base, Matches matches)
{
    CivilTime candidate = base;
    for (int day = 0; day < kSearchDays; ++day) {
        if (matches(candidate))
            return candidate;
        candidate = NextDay(candidate);
    }
    return base;
}

}  // namespace

TDateTime NextTime(const std::string& previous, const std::string& frequency, int dayType, int hour, int minute)
{
    CivilTime base = BaseMoment(previous, hour, minute);
    if (SameText(frequency, kFrequencyDaily))
        return Encode(Daily(base));
    if (SameText(frequency, kFrequencyWeekly))
        return Encode(Search(base, [&](const CivilTime& day) { return DayOfWeek(Encode(day)) == dayType; }));
    if (SameText(frequency, kFrequencyMonthly))
        return Encode(Search(base, [&](const CivilTime& day) { return day.day == dayType; }));
    if (SameText(frequency, kFrequencyYearly))
        return Encode(Search(base, [&](const CivilTime& day) {
            return day.month == dayType / 100 && day.day == dayType % 100;
        }));
    return Encode(base);
}
