#include <gtest/gtest.h>

#include "core/datetime.h"

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    CivilTime t;
    t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
    return EncodeDateTime(t);
}

TEST(DateTime, DayCountsMatchTheToolkitsEpoch)
{
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_DOUBLE_EQ(At(2000, 1, 1, 12), 36526.5);
}

TEST(DateTime, DecodingRoundTripsToTheSecond)
{
    for (TDateTime value : {At(2026, 12, 8, 3, 30, 12), At(2024, 2, 29, 23, 59, 59), At(1999, 12, 31)}) {
        TDateTime back = 0;
        ASSERT_TRUE(TextToDateTime(DateTimeToText(value), back));
        EXPECT_EQ(DateTimeToText(back), DateTimeToText(value));
    }
    EXPECT_EQ(DateTimeToText(At(2024, 2, 29, 23, 59, 59)), "2024-02-29 23:59:59");
    EXPECT_EQ(ShortDateTimeText(At(2026, 3, 7, 8, 5, 0)), "2026/03/07 08:05:00");
}

TEST(DateTime, TextThatIsNoDateIsRefused)
{
    TDateTime value = 0;
    EXPECT_FALSE(TextToDateTime("", value));
    EXPECT_FALSE(TextToDateTime("2026-02-30", value));
    EXPECT_FALSE(TextToDateTime("2026-13-01 00:00:00", value));
    EXPECT_FALSE(TextToDateTime("2026-01-01 25:00:00", value));
    EXPECT_FALSE(TextToDateTime("2026-01/01", value));
    EXPECT_TRUE(TextToDateTime("2026/01/31 23:15:00", value));
    EXPECT_EQ(DateTimeToText(value), "2026-01-31 23:15:00");
}

TEST(DateTime, WeekdaysAndLeapYears)
{
    EXPECT_EQ(DayOfWeek(At(2026, 12, 8)), 3);  // a Tuesday
    EXPECT_EQ(DayOfWeek(At(2026, 12, 6)), 1);  // a Sunday
    EXPECT_EQ(DayOfWeek(At(1899, 12, 30)), 7);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
}

TEST(DateTime, MinutesElapsedDropsDaysAndSeconds)
{
    EXPECT_EQ(MinutesElapsed(At(2026, 1, 1, 10), At(2026, 1, 1, 11, 1, 59)), 61);
    EXPECT_EQ(MinutesElapsed(At(2026, 1, 1, 23, 50), At(2026, 1, 2, 0, 20)), 30);  // across midnight
    EXPECT_EQ(MinutesElapsed(At(2026, 1, 1, 10), At(2026, 1, 2, 10, 5)), 5);      // a whole day is dropped
    EXPECT_EQ(MinutesElapsed(At(2026, 1, 1, 10), At(2026, 1, 1, 10)), 0);
}

TEST(DateTime, TheClockCanBeSetForTests)
{
    SetClockForTest([] { return At(2026, 3, 7, 9, 30); });
    EXPECT_EQ(DateTimeToText(Now()), "2026-03-07 09:30:00");
    EXPECT_EQ(DateTimeToText(Today()), "2026-03-07 00:00:00");
    SetClockForTest(nullptr);
    EXPECT_GT(Now(), At(2020, 1, 1));
}

}  // namespace
