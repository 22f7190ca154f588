#pragma once

#include <QtGlobal>
#include <ctime>
#include <optional>

// A point in time as days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

// A packed DOS date (years since 1980, month, day) and time (hours, minutes, seconds / 2).
struct DosDateTime {
    quint16 Date = 0;
    quint16 Time = 0;
};

// The DOS date and time of a local calendar time, seconds rounded down to even; nothing for a
// year outside 1980..2107, which the packed date cannot hold.
std::optional<DosDateTime> ToDosDateTime(const std::tm& local);

// The date-time of a DOS date and time; nothing when a field is not a valid calendar value.
std::optional<TDateTime> DosToDateTime(DosDateTime dos);

// A file time (seconds since 1970 UTC) as a local date-time at DOS resolution; nothing when the
// local time cannot be had or lies outside the DOS range.
std::optional<TDateTime> FileTimeToDateTime(qint64 secondsSinceEpoch);
