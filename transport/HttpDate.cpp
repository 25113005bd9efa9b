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

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y += m <= 2;
}

// Whole milliseconds since 1899-12-30 00:00 of a date-time, honouring the convention
// for negative values (the fraction counts forwards from the day).
std::int64_t dateTimeToMs(double dt) {
  const double day = std::trunc(dt);
  const double frac = std::fabs(dt - day);
  return static_cast<std::int64_t>(day) * 86400000 +
         static_cast<std::int64_t>(std::llround(frac * 86400000.0));
}

std::tm brokenDownFromMs(std::int64_t ms) {
  std::int64_t days = ms / 86400000;
  std::int64_t rest = ms % 86400000;
  if (rest < 0) {
    rest += 86400000;
    --days;
  }
  std::int64_t y;
  unsigned m, d;
  civilFromDays(days - kUnixEpochDay, y, m, d);
  std::tm tm{};
  tm.tm_year = static_cast<int>(y - 1900);
  tm.tm_mon = static_cast<int>(m) - 1;
  tm.tm_mday = static_cast<int>(d);
  tm.tm_hour = static_cast<int>(rest / 3600000);
  tm.tm_min = static_cast<int>(rest / 60000 % 60);
  tm.tm_sec = static_cast<int>(rest / 1000 % 60);
  tm.tm_isdst = -1;
  return tm;
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
  std::tm tm = brokenDownFromMs(dateTimeToMs(localDateTime));
  return std::mktime(&tm);
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
