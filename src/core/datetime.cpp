#include "core/datetime.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <mutex>

#include <sys/time.h>

namespace {

std::mutex clockLock;
std::function<TDateTime()> testClock;

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

const long long kEpochOffset = 25569;  // days from 1899-12-30 to 1970-01-01

}  // namespace

TDateTime SystemNow()
{
    struct timeval tv {};
    ::gettimeofday(&tv, nullptr);
    time_t seconds = tv.tv_sec;
    struct tm local {};
    ::localtime_r(&seconds, &local);
    CivilTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.millisecond = static_cast<int>(tv.tv_usec / 1000);
    return EncodeDateTime(t);
}

TDateTime Now()
{
    std::function<TDateTime()> clock;
    {
        std::lock_guard guard(clockLock);
        clock = testClock;
    }
    return clock ? clock() : SystemNow();
}

TDateTime Today()
{
    return DatePart(Now());
}

void SetClockForTest(std::function<TDateTime()> clock)
{
    std::lock_guard guard(clockLock);
    testClock = std::move(clock);
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

TDateTime EncodeDate(int year, int month, int day)
{
    return static_cast<TDateTime>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day))
                                  + kEpochOffset);
}

TDateTime EncodeDateTime(const CivilTime& t)
{
    double time = (t.hour * 3600000.0 + t.minute * 60000.0 + t.second * 1000.0 + t.millisecond) / 86400000.0;
    return EncodeDate(t.year, t.month, t.day) + time;
}

CivilTime DecodeDateTime(TDateTime value)
{
    CivilTime t;
    // Round to the millisecond first, so 23:59:59.9996 does not decode as a day early.
    long long ms = std::llround(value * 86400000.0);
    long long days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
    long long rest = ms - days * 86400000;
    CivilFromDays(days - kEpochOffset, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600000);
    t.minute = static_cast<int>(rest / 60000 % 60);
    t.second = static_cast<int>(rest / 1000 % 60);
    t.millisecond = static_cast<int>(rest % 1000);
    return t;
}

TDateTime DatePart(TDateTime value)
{
    CivilTime t = DecodeDateTime(value);
    return EncodeDate(t.year, t.month, t.day);
}

TDateTime TimePart(TDateTime value)
{
    return value - DatePart(value);
}

int DayOfWeek(TDateTime value)
{
    long long days = static_cast<long long>(std::floor(DatePart(value) + 0.5));
    // 1899-12-30 was a Saturday (7).
    long long weekday = (days + 6) % 7;
    if (weekday < 0)
        weekday += 7;
    return static_cast<int>(weekday) + 1;
}

std::string DateTimeToText(TDateTime value)
{
    CivilTime t = DecodeDateTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::string DateToText(TDateTime value)
{
    return DateTimeToText(value).substr(0, 10);
}

bool TextToDateTime(const std::string& text, TDateTime& value)
{
    CivilTime t;
    char separator1 = 0;
    char separator2 = 0;
    int consumed = 0;
    int fields = std::sscanf(text.c_str(), "%d%c%d%c%d%n", &t.year, &separator1, &t.month, &separator2, &t.day,
                             &consumed);
    if (fields < 5 || separator1 != separator2 || (separator1 != '-' && separator1 != '/'))
        return false;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month))
        return false;
    std::string rest = text.substr(static_cast<size_t>(consumed));
    if (!rest.empty()) {
        int n = 0;
        if (std::sscanf(rest.c_str(), " %d:%d:%d%n", &t.hour, &t.minute, &t.second, &n) < 3)
            return false;
        if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
            return false;
    }
    value = EncodeDateTime(t);
    return true;
}

std::string ShortDateText(TDateTime value)
{
    CivilTime t = DecodeDateTime(value);
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", t.year, t.month, t.day);
    return text;
}

std::string LongTimeText(TDateTime value)
{
    return DateTimeToText(value).substr(11);
}

std::string ShortDateTimeText(TDateTime value)
{
    return ShortDateText(value) + " " + LongTimeText(value);
}

int MinutesElapsed(TDateTime start, TDateTime now)
{
    CivilTime span = DecodeDateTime(now - start);
    return span.hour * 60 + span.minute;
}

TDateTime FromUnixTime(long long seconds)
{
    return static_cast<TDateTime>(seconds) / 86400.0 + kEpochOffset;
}
