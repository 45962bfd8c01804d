// Which spatial references are cell codes of their own grid system, as data.
#include "count/grid_references.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct Reference {
  const char* text;
  bool quadrants;  // a cell code of "QQQ"
  bool minutes;    // a cell code of "QYX"
};

constexpr Reference kReferences[] = {
    {"6509", true, true},                     // the whole sheet
    {"W5099", true, true},                    // a west sheet
    {"6509/4", true, true},                   // a quadrant
    {"6509/13", true, false},                 // quarter-quadrants only in QQQ
    {"6509/444", true, false},                // no fourth row in a minute field quadrant
    {"6509/135", false, true},                // the fifth minute column; no fifth quadrant
    {"W5099/423", true, true},                // both systems allow these digits
    {"6509/2zz", false, false},               // letters
    {"6509/\xF0\x9F\x92\xA5", false, false},  // an emoji
    {"6509/1111", false, false},              // four digits fit the column but are no cell
    {"6508/2141234", false, false},           // too long
    {"6509/", false, false},                  // "/" without digits
    {"6509/0", false, false},                 // no digit 0 at any level
    {"650", false, false},                    // not a sheet number
    {"65091", false, false},
    {"w5099/1", false, false},  // only an upper-case W
    {"WW509/1", false, false},
    {" 6509/1", false, false},
    {"6509/1 ", false, false},
    {"", false, false},
};

TEST(GridReferences, CellCodesOfTheirOwnSystemOnly) {
  const GridSystemInfo& minutes = *GridSystemByCode("QYX");
  const GridSystemInfo& quadrants = *GridSystemByCode("QQQ");
  for (const Reference& r : kReferences) {
    EXPECT_EQ(IsCellCodeOf(quadrants, r.text), r.quadrants) << "QQQ " << r.text;
    EXPECT_EQ(IsCellCodeOf(minutes, r.text), r.minutes) << "QYX " << r.text;
  }
}

}  // namespace
}  // namespace velmora
