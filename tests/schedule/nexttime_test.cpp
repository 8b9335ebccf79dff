#include <string>

#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/text.h"
#include "schedule/nexttime.h"

namespace {

TDateTime At(int year, int month, int day, int hour, int minute, int second = 0)
{
    return EncodeDateTime({year, month, day, hour, minute, second});
}

std::string Text(TDateTime moment)
{
    return DateTimeToText(moment);
}

class NextTimeTest : public ::testing::Test {
protected:
    // The worked cases' day: Wednesday the 10th, 09:30.
    void SetUp() override { SetNow(At(2024, 7, 10, 9, 30)); }
    void TearDown() override { SetClockForTest({}); }

    void SetNow(TDateTime moment)
    {
        SetClockForTest([moment] { return moment; });
    }

    // What the schedule dialog stores for a new entry: the due moment and the one after.
    std::pair<std::string, std::string> Save(const std::string& frequency, int dayType, int hour, int minute)
    {
        TDateTime desire = NextTime("", frequency, dayType, hour, minute);
        TDateTime next = NextTime(ShortDateTimeText(desire), frequency, dayType, hour, minute);
        return {Text(desire), Text(next)};
    }
};

TEST_F(NextTimeTest, WorkedCases)
{
    ASSERT_EQ(DayOfWeek(Now()), 4);
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(Save("RdBDaily", 0, 8, 0), Pair("2024-07-10 08:00:00", "2024-07-11 08:00:00"));
    EXPECT_EQ(Save("RdBDaily", 0, 10, 0), Pair("2024-07-10 10:00:00", "2024-07-11 10:00:00"));
    EXPECT_EQ(Save("RdBWeekly", 4, 8, 0), Pair("2024-07-10 08:00:00", "2024-07-17 08:00:00"));
    EXPECT_EQ(Save("RdBMonthly", 5, 8, 0), Pair("2024-08-05 08:00:00", "2024-09-05 08:00:00"));
    EXPECT_EQ(Save("RdBOther", 1225, 8, 0), Pair("2024-12-25 08:00:00", "2025-12-25 08:00:00"));
    // The frequency is compared without regard to case, as the main window spells it.
    EXPECT_EQ(Save("rdbweekly", 2, 8, 0), Pair("2024-07-15 08:00:00", "2024-07-22 08:00:00"));
}

TEST_F(NextTimeTest, DailyEntryThatFellBehindCatchesUpWithNow)
{
    // After a run the old next moment, three days past, becomes the due moment, and the
    // new next moment is the first 08:00 not earlier than now.
    TDateTime oldNext = At(2024, 7, 7, 8, 0);
    EXPECT_EQ(Text(NextTime(ShortDateTimeText(oldNext), "RdBDaily", 0, 8, 0)), "2024-07-11 08:00:00");
    // Years behind, and at a time of day still to come today.
    EXPECT_EQ(Text(NextTime("2019/02/03 11:45:30", "RdBDaily", 0, 0, 0)), "2024-07-10 11:45:30");
    // Ahead of now it simply moves one day.
    EXPECT_EQ(Text(NextTime("2024/07/20 08:00:00", "RdBDaily", 0, 0, 0)), "2024-07-21 08:00:00");
    // The table's own text form is read as well.
    EXPECT_EQ(Text(NextTime("2024-07-20 08:00:00", "RdBDaily", 0, 0, 0)), "2024-07-21 08:00:00");
}

TEST_F(NextTimeTest, WeeklyEntrySavedOnItsWeekdayAfterItsHour)
{
    auto [desire, next] = Save("RdBWeekly", 4, 9, 0);
    EXPECT_EQ(desire, "2024-07-10 09:00:00");  // already passed: due at once
    TDateTime due = 0;
    ASSERT_TRUE(TextToDateTime(desire, due));
    EXPECT_LT(due, Now());
    EXPECT_EQ(next, "2024-07-17 09:00:00");  // exactly seven days later
}

TEST_F(NextTimeTest, EndsOfMonthsAndYears)
{
    SetNow(At(2025, 1, 20, 12, 0));
    EXPECT_EQ(Text(NextTime("2025/01/31 23:15:00", "RdBDaily", 0, 0, 0)), "2025-02-01 23:15:00");
    EXPECT_EQ(Text(NextTime("2025/04/30 06:00:00", "RdBMonthly", 1, 0, 0)), "2025-05-01 06:00:00");

    SetNow(At(2024, 12, 31, 10, 0));
    EXPECT_EQ(Save("RdBOther", 101, 8, 0),
              std::make_pair(std::string("2025-01-01 08:00:00"), std::string("2026-01-01 08:00:00")));
    EXPECT_EQ(Text(NextTime("2024/12/31 22:00:00", "RdBDaily", 0, 0, 0)), "2025-01-01 22:00:00");
}

TEST_F(NextTimeTest, LeapYearsFollowTheCivilCalendar)
{
    SetNow(At(2024, 2, 10, 9, 0));
    // Monthly on the 28th in a leap February: the 28th, and then March, not the 29th.
    EXPECT_EQ(Save("RdBMonthly", 28, 8, 0),
              std::make_pair(std::string("2024-02-28 08:00:00"), std::string("2024-03-28 08:00:00")));
    EXPECT_EQ(Text(NextTime("2024/02/28 23:15:00", "RdBDaily", 0, 0, 0)), "2024-02-29 23:15:00");

    SetNow(At(2023, 2, 10, 9, 0));
    EXPECT_EQ(Text(NextTime("2023/02/28 23:15:00", "RdBDaily", 0, 0, 0)), "2023-03-01 23:15:00");

    SetNow(At(1900, 2, 10, 9, 0));  // divisible by 100: not a leap year
    EXPECT_EQ(Text(NextTime("1900/02/28 10:00:00", "RdBDaily", 0, 0, 0)), "1900-03-01 10:00:00");

    SetNow(At(2000, 2, 10, 9, 0));  // divisible by 400: a leap year
    EXPECT_EQ(Text(NextTime("2000/02/28 10:00:00", "RdBDaily", 0, 0, 0)), "2000-02-29 10:00:00");
    EXPECT_EQ(Text(NextTime("2000/02/28 10:00:00", "RdBWeekly", 4, 0, 0)), "2000-03-01 10:00:00");

    // A 29th of February, which the dialog does not offer, is found in the next leap year.
    SetNow(At(2024, 3, 1, 9, 0));
    EXPECT_EQ(Text(NextTime("", "RdBOther", 229, 8, 0)), "2028-02-29 08:00:00");
}

TEST_F(NextTimeTest, DamagedRowsGiveTheBaseMoment)
{
    EXPECT_EQ(Text(NextTime("", "RdBMonthly", 32, 8, 0)), "2024-07-10 08:00:00");
    EXPECT_EQ(Text(NextTime("2024/07/10 08:00:00", "RdBMonthly", 0, 0, 0)), "2024-07-11 08:00:00");
    // Out of the dialog's range but a real day: the search finds the next 31st.
    EXPECT_EQ(Text(NextTime("2024/07/31 08:00:00", "RdBMonthly", 31, 0, 0)), "2024-08-31 08:00:00");
    EXPECT_EQ(Text(NextTime("", "RdBOther", 230, 8, 0)), "2024-07-10 08:00:00");
    EXPECT_EQ(Text(NextTime("", "RdBOther", 1301, 8, 0)), "2024-07-10 08:00:00");
    EXPECT_EQ(Text(NextTime("", "RdBWeekly", 0, 8, 0)), "2024-07-10 08:00:00");
    EXPECT_EQ(Text(NextTime("", "RdBWeekly", 8, 8, 0)), "2024-07-10 08:00:00");
    EXPECT_EQ(Text(NextTime("2024/07/10 08:00:00", "Hourly", 3, 0, 0)), "2024-07-11 08:00:00");
    EXPECT_EQ(Text(NextTime("", "", 0, 23, 59)), "2024-07-10 23:59:00");
}

TEST_F(NextTimeTest, SecondsSurviveAndFractionsAreDropped)
{
    TDateTime next = NextTime(ShortDateTimeText(At(2024, 7, 20, 8, 0, 42) + 0.4 / 86400), "RdBDaily", 0, 0, 0);
    EXPECT_EQ(next, At(2024, 7, 21, 8, 0, 42));
}

TEST_F(NextTimeTest, TextThatIsNoMomentIsAConversionError)
{
    EXPECT_THROW(NextTime("next tuesday", "RdBDaily", 0, 8, 0), EConvertError);
    EXPECT_THROW(NextTime("2024/02/30 08:00:00", "RdBDaily", 0, 8, 0), EConvertError);
}

}  // namespace
