#include "input/FileTimes.h"
#include "tests/input/Scoped.h"

#include <gtest/gtest.h>

namespace
{

constexpr TDateTime Day1980 = 29221; // 1 January 1980
constexpr qint64 Epoch1980 = 315532800;

std::tm calendar(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

quint16 dosDate(int year, int month, int day)
{
    return quint16((year - 1980) << 9 | month << 5 | day);
}
quint16 dosTime(int hour, int minute, int second)
{
    return quint16(hour << 11 | minute << 5 | second / 2);
}

} // namespace

TEST(DosDateTime, HoldsOnlyYears1980To2107)
{
    EXPECT_FALSE(ToDosDateTime(calendar(1979, 12, 31, 23, 59, 59)));
    EXPECT_FALSE(ToDosDateTime(calendar(2108, 1, 1)));
    const auto first = ToDosDateTime(calendar(1980, 1, 1));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Date, 0x21);
    EXPECT_EQ(first->Time, 0);
    const auto last = ToDosDateTime(calendar(2107, 12, 31, 23, 59, 59));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Date, dosDate(2107, 12, 31));
    EXPECT_EQ(last->Time, dosTime(23, 59, 58)); // two-second steps
}

TEST(DosDateTime, ConvertsValidCalendarValuesOnly)
{
    EXPECT_DOUBLE_EQ(*DosToDateTime({dosDate(1980, 1, 1), 0}), Day1980);
    EXPECT_DOUBLE_EQ(*DosToDateTime({dosDate(2000, 1, 1), dosTime(12, 0, 0)}), 36526.5);
    EXPECT_DOUBLE_EQ(*DosToDateTime({dosDate(1984, 2, 29), dosTime(6, 0, 0)}), 30741.25);
    for (const DosDateTime invalid :
         {DosDateTime{dosDate(1980, 0, 1), 0}, DosDateTime{dosDate(1980, 13, 1), 0},
          DosDateTime{dosDate(1980, 1, 0), 0}, DosDateTime{dosDate(1981, 2, 29), 0},
          DosDateTime{dosDate(1980, 4, 31), 0}, DosDateTime{0x21, dosTime(24, 0, 0)},
          DosDateTime{0x21, dosTime(0, 60, 0)}, DosDateTime{0x21, 30 /* 60 s */}})
        EXPECT_FALSE(DosToDateTime(invalid)) << invalid.Date << " " << invalid.Time;
}

TEST(FileTime, IsTakenInLocalTimeBeforeTheRangeCheck)
{
    {
        const ScopedTimeZone zone("UTC0");
        EXPECT_DOUBLE_EQ(*FileTimeToDateTime(Epoch1980), Day1980);
        EXPECT_DOUBLE_EQ(*FileTimeToDateTime(Epoch1980 + 1), Day1980); // rounded down to even seconds
        EXPECT_FALSE(FileTimeToDateTime(0));
    }
    {
        const ScopedTimeZone zone("JST-9");
        EXPECT_DOUBLE_EQ(*FileTimeToDateTime(Epoch1980), Day1980 + 0.375);
    }
    {
        const ScopedTimeZone zone("EST5"); // still 1979 there
        EXPECT_FALSE(FileTimeToDateTime(Epoch1980));
    }
}
