#include "count/year_range.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace velmora {
namespace {

TEST(YearRange, DaysCountFromTheHostsDayZero) {
  EXPECT_EQ(LastDayOfYear(1899), 1);
  EXPECT_EQ(FirstDayOfYear(1900), 2);
  EXPECT_EQ(FirstDayOfYear(1985), 31048);
  EXPECT_EQ(LastDayOfYear(2023), 45291);
  EXPECT_EQ(FirstDayOfYear(kFirstYear), -693593);
  EXPECT_EQ(LastDayOfYear(kLastYear), 2958465);
  EXPECT_NO_THROW(CheckYearRange({.from = kFirstYear, .to = kLastYear}));
  EXPECT_NO_THROW(CheckYearRange({.from = 2020, .to = 2010}));  // counts nothing
  EXPECT_THROW(CheckYearRange({.from = 0}), Exception);
  EXPECT_THROW(CheckYearRange({.to = 10000}), Exception);
}

}  // namespace
}  // namespace velmora
