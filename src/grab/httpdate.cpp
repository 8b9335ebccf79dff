#include "grab/httpdate.h"

#include <cstdio>
#include <ctime>
#include <tuple>

#include "core/text.h"

namespace {

const char* const kMonths[] = {"JAN", "Feb", "Mar", "Apr", "May", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

int MonthNumber(const std::string& name)
{
    for (int i = 0; i < 12; ++i)
        if (SameText(name, kMonths[i]))
            return i + 1;
    return 1;
}

// Year, month, day and time as compared: characters 13-16, 9-11, 6-7 and 18-25.
std::tuple<std::string, int, std::string, std::string> Parts(const std::string& date)
{
    auto piece = [&](size_t first, size_t count) { return date.size() >= first ? date.substr(first - 1, count) : ""; };
    return {piece(13, 4), MonthNumber(piece(9, 3)), piece(6, 2), piece(18, 8)};
}

}  // namespace

std::string Rfc1123Date(long long utcSeconds)
{
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    time_t seconds = static_cast<time_t>(utcSeconds);
    struct tm utc {};
    ::gmtime_r(&seconds, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", days[utc.tm_wday], utc.tm_mday,
                  months[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

bool ServerIsNewer(const std::string& stored, const std::string& lastModified)
{
    if (stored.size() != lastModified.size())
        return true;
    return Parts(lastModified) >= Parts(stored);
}
