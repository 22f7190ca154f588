#include "input/FileTimes.h"

namespace
{

constexpr int DosFirstYear = 1980;
constexpr int DosLastYear = DosFirstYear + 127;
constexpr int TmFirstYear = 1900;
constexpr int SecondsPerDay = 24 * 60 * 60;
// Days from 30 December 1899 to 1 January 1970.
constexpr int DaysTo1970 = 25569;

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days from 1 January 1970 to the given date of the proleptic Gregorian calendar.
int daysFrom1970(int year, int month, int day)
{
    year -= month <= 2;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

std::optional<DosDateTime> ToDosDateTime(const std::tm& local)
{
    const int year = local.tm_year + TmFirstYear;
    if (year < DosFirstYear || year > DosLastYear)
        return std::nullopt;
    DosDateTime dos;
    dos.Date = static_cast<quint16>((year - DosFirstYear) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
    dos.Time = static_cast<quint16>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
    return dos;
}

std::optional<TDateTime> DosToDateTime(DosDateTime dos)
{
    const int year = DosFirstYear + (dos.Date >> 9);
    const int month = dos.Date >> 5 & 0x0F;
    const int day = dos.Date & 0x1F;
    const int hour = dos.Time >> 11;
    const int minute = dos.Time >> 5 & 0x3F;
    const int second = (dos.Time & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    const int seconds = (hour * 60 + minute) * 60 + second;
    return DaysTo1970 + daysFrom1970(year, month, day) + static_cast<double>(seconds) / SecondsPerDay;
}

std::optional<TDateTime> FileTimeToDateTime(qint64 secondsSinceEpoch)
{
    const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    if (!localtime_r(&time, &local))
        return std::nullopt;
    const std::optional<DosDateTime> dos = ToDosDateTime(local);
    return dos ? DosToDateTime(*dos) : std::nullopt;
}
