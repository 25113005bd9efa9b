#include "transport/HttpDate.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace orv {

namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Day number of 1970-01-01 in the system's day count.
constexpr std::int64_t kUnixEpochDay = 25569;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// Whole milliseconds since 1899-12-30 00:00 of a date-time, honouring the convention
// for negative values (the fraction counts forwards from the day).
std::int64_t dateTimeToMs(double dt) {
  const double day = std::trunc(dt);
  const double frac = std::fabs(dt - day);
  return static_cast<std::int64_t>(day) * 86400000 +
         static_cast<std::int64_t>(std::llround(frac * 86400000.0));
}

std::string formatGmt(std::time_t seconds, char dateSeparator) {
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s, %02d%c%s%c%04d %02d:%02d:%02d GMT",
                kDayNames[tm.tm_wday], tm.tm_mday, dateSeparator, kMonthNames[tm.tm_mon],
                dateSeparator, tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buffer;
}

}  // namespace

double unixToLocalDateTime(std::time_t seconds) {
  std::tm tm{};
  localtime_r(&seconds, &tm);
  const std::int64_t days = daysFromCivil(tm.tm_year + 1900, static_cast<unsigned>(tm.tm_mon + 1),
                                          static_cast<unsigned>(tm.tm_mday)) +
                            kUnixEpochDay;
  const double frac = (tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec) / 86400.0;
  return days >= 0 ? static_cast<double>(days) + frac : static_cast<double>(days) - frac;
}

double nowLocalDateTime() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  return unixToLocalDateTime(seconds) + static_cast<double>(ms % 1000) / 86400000.0;
}

std::time_t localDateTimeToUnix(double localDateTime) {
  // The wall-clock reading as if it were UTC, then corrected by the zone's offset at
  // that moment (a second pass settles readings near a daylight-saving change). Not
  // mktime: it re-reads the zone settings on every call under a process-wide lock.
  const std::int64_t ms = dateTimeToMs(localDateTime);
  std::int64_t seconds = ms / 1000;
  if (ms % 1000 < 0) --seconds;
  const auto asUtc = static_cast<std::time_t>(seconds - kUnixEpochDay * 86400);
  std::time_t t = asUtc;
  for (int pass = 0; pass < 2; ++pass) {
    std::tm local{};
    localtime_r(&t, &local);
    t = asUtc - local.tm_gmtoff;
  }
  return t;
}

std::string httpDate(double localDateTime) {
  return formatGmt(localDateTimeToUnix(localDateTime), ' ');
}

std::string httpDateFromUnix(std::time_t seconds) { return formatGmt(seconds, ' '); }

std::string cookieDate(double localDateTime) {
  return formatGmt(localDateTimeToUnix(localDateTime), '-');
}

std::string dateTimeToText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

double textToDateTime(const std::string& text) {
  double value = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  while (begin < end && *begin == ' ') ++begin;
  const auto result = std::from_chars(begin, end, value);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

}  // namespace orv
