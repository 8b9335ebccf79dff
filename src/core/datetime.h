#pragma once

#include <functional>
#include <string>

// Local date and time as days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

struct CivilTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

TDateTime Now();
TDateTime Today();
// The system's clock, whatever a test has set.
TDateTime SystemNow();
// Tests set the clock; an empty function gives the system clock back.
void SetClockForTest(std::function<TDateTime()> clock);

TDateTime EncodeDateTime(const CivilTime& time);
TDateTime EncodeDate(int year, int month, int day);
CivilTime DecodeDateTime(TDateTime value);
int DayOfWeek(TDateTime value);  // 1 = Sunday ... 7 = Saturday
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
TDateTime DatePart(TDateTime value);
TDateTime TimePart(TDateTime value);

// The table form "YYYY-MM-DD HH:MM:SS" and "YYYY-MM-DD"; fractions of a second are dropped.
std::string DateTimeToText(TDateTime value);
std::string DateToText(TDateTime value);
// Reads the table forms (and the short date form "YYYY/MM/DD", with or without a time).
bool TextToDateTime(const std::string& text, TDateTime& value);

// The user's formats: short date "YYYY/MM/DD", long time "HH:MM:SS".
std::string ShortDateText(TDateTime value);
std::string LongTimeText(TDateTime value);
std::string ShortDateTimeText(TDateTime value);  // short date, blank, long time

// Minutes elapsed as limits count them: the time-of-day part of (now - start) as
// hours x 60 + minutes, whole days and seconds dropped.
int MinutesElapsed(TDateTime start, TDateTime now);

// The wall-clock seconds of a moment, for file times (UTC seconds since 1970).
TDateTime FromUnixTime(long long seconds);
