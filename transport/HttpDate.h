#pragma once
// Date-times of the system and their HTTP forms. A date-time is the number of days
// since 1899-12-30 00:00 in local time, as a double (the fraction is the time of day;
// for negative values the fraction counts forwards from the day, so -1.25 is
// 1899-12-29 06:00). 0 means "not set" wherever a field is optional.
//
// Headers carry GMT: "Tue, 08 Dec 2026 21:57:14 GMT"; cookies carry the cookie form
// "Tue, 08-Dec-2026 21:57:14 GMT". Pure functions, thread-safe.
#include <ctime>
#include <string>

namespace orv {

// The current local date-time.
double nowLocalDateTime();

// Seconds since 1970-01-01 UTC <-> local date-time (through the time zone rules).
double unixToLocalDateTime(std::time_t seconds);
std::time_t localDateTimeToUnix(double localDateTime);

// "Tue, 08 Dec 2026 21:57:14 GMT" for a local date-time or for seconds since 1970.
std::string httpDate(double localDateTime);
std::string httpDateFromUnix(std::time_t seconds);

// "Tue, 08-Dec-2026 21:57:14 GMT" for a local date-time.
std::string cookieDate(double localDateTime);

// A date-time as the decimal day number the packets carry, and back. The text is the
// shortest one that reads back to the same double ("-1", "46000.5"); text that is not
// a number reads as 0.
std::string dateTimeToText(double value);
double textToDateTime(const std::string& text);

}  // namespace orv
