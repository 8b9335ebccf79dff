#pragma once

#include <string>

#include "core/datetime.h"

// The kinds of repetition of a schedule entry, by the names of the schedule dialog's
// options; a row's Frequency is compared with them without regard to case. DayType is
// unused for daily entries, the weekday (1 = Sunday ... 7 = Saturday) for weekly ones, the
// day of the month (1 to 28) for monthly ones and month x 100 + day for yearly ones.
inline constexpr const char* kFrequencyDaily = "RdBDaily";
inline constexpr const char* kFrequencyWeekly = "RdBWeekly";
inline constexpr const char* kFrequencyMonthly = "RdBMonthly";
inline constexpr const char* kFrequencyYearly = "RdBOther";

// The next due moment of a schedule entry. The base moment is the day after previous at
// previous's time of day (to the second), or, for an empty previous, today at
// hour:minute:00. A daily entry whose base is today is due at the base even when that has
// passed; otherwise a daily entry is due on the first day from the base whose moment is
// not earlier than Now(). The other kinds are due on the first day from the base that
// matches DayType. A damaged row (an unknown Frequency, a DayType no day matches) gives
// the base moment: the search looks one leap cycle of days ahead, no further.
// previous is in the user's format "YYYY/MM/DD HH:MM:SS" or the tables' text form; any
// other text raises EConvertError.
TDateTime NextTime(const std::string& previous, const std::string& frequency, int dayType, int hour, int minute);
