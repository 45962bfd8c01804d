#include "count/year_range.h"

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/errors.h"

namespace velmora {
namespace {

// Day 0 of the host's day numbers, 30 December 1899, lies this many days
// before 1 January 1970.
constexpr int kDaysBefore1970 = 25569;

int DayNumber(std::chrono::year_month_day date) {
  return static_cast<int>(std::chrono::sys_days(date).time_since_epoch().count()) + kDaysBefore1970;
}

}  // namespace

int FirstDayOfYear(int year) {
  using namespace std::chrono;
  return DayNumber(std::chrono::year(year) / January / 1);
}

int LastDayOfYear(int year) {
  using namespace std::chrono;
  return DayNumber(std::chrono::year(year) / December / 31);
}

int YearOfDay(int day) {
  const std::chrono::sys_days date{std::chrono::days(std::int64_t{day} - kDaysBefore1970)};
  return static_cast<int>(std::chrono::year_month_day(date).year());
}

void CheckYearRange(const YearRange& years) {
  for (const std::optional<int>& year : {years.from, years.to}) {
    if (year && (*year < kFirstYear || *year > kLastYear)) {
      throw Exception("The year " + std::to_string(*year) + " lies outside " +
                      std::to_string(kFirstYear) + " to " + std::to_string(kLastYear));
    }
  }
}

}  // namespace velmora
