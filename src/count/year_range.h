#pragma once

#include <optional>

namespace velmora {

// The years a count is limited to, both inclusive; a side without a year is
// open. A sample counts when its vague date lies within them: its start on or
// after the first day of `from`, its end on or before the last day of `to`. A
// sample without a start (or an end) lies within no lower (or upper) limit.
struct YearRange {
  std::optional<int> from{};
  std::optional<int> to{};

  bool Limits() const { return from || to; }
};

// Years a limit may name.
inline constexpr int kFirstYear = 1;
inline constexpr int kLastYear = 9999;

// The host's day numbers, which count days from 30 December 1899 (day 0), of
// the first and of the last day of a year between kFirstYear and kLastYear.
int FirstDayOfYear(int year);
int LastDayOfYear(int year);
// The year of a day number.
int YearOfDay(int day);

// Refuses a limit outside kFirstYear to kLastYear with an Exception that names it.
void CheckYearRange(const YearRange& years);

}  // namespace velmora
