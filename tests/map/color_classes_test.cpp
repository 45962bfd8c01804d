// The classes of a map's counts, the ranges its legend shows for them, and
// the colours of the classes.
#include "map/color_classes.h"

#include <gtest/gtest.h>

#include <QColor>
#include <cmath>
#include <vector>

#include "map/palettes.h"

namespace velmora {
namespace {

// Golden classes: the lowest count of each class, the highest of the last,
// and the legend's ranges.
TEST(ColorClasses, QuantilesKeepEqualCountsTogether) {
  const struct {
    const char* name;
    std::vector<int> counts;
    int classes;
    ColorClasses expected;
    std::vector<const char*> ranges;
  } cases[] = {
      {"distinct counts",
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
       5,
       {{1, 3, 5, 7, 9}, 10},
       {"1–2", "3–4", "5–6", "7–8", "9–10"}},
      {"in any order", {5, 1, 3}, 3, {{1, 3, 5}, 5}, {"1–2", "3–4", "5"}},
      {"a run of ones takes a class of its own",
       {1, 1, 1, 1, 1, 1, 2, 3, 4, 5},
       3,
       {{1, 2, 4}, 5},
       {"1", "2–3", "4–5"}},
      {"a run at the top is not split",
       {1, 2, 3, 9, 9, 9, 9, 9},
       4,
       {{1, 3, 9}, 9},
       {"1–2", "3–8", "9"}},
      {"fewer distinct counts than classes", {2, 2, 5, 5}, 12, {{2, 5}, 5}, {"2–4", "5"}},
      {"a single value", {7, 7, 7}, 5, {{7}, 7}, {"7"}},
      {"one counted cell", {42}, 2, {{42}, 42}, {"42"}},
      {"no counted cell", {}, 4, {}, {}},
  };
  for (const auto& c : cases) {
    const ColorClasses classes = QuantileClasses(c.counts, c.classes);
    EXPECT_EQ(classes, c.expected) << c.name;
    std::vector<std::string> ranges;
    for (int i = 0; i < classes.Size(); ++i) ranges.push_back(ClassRangeText(classes, i));
    EXPECT_EQ(ranges, std::vector<std::string>(c.ranges.begin(), c.ranges.end())) << c.name;
  }
}

// Quantile classes hold as nearly equal numbers of cells as the counts allow.
TEST(ColorClasses, QuantilesShareTheCellsEvenly) {
  std::vector<int> counts;
  for (int i = 0; i < 1000; ++i) counts.push_back(1 + (i * 7919) % 301);
  const ColorClasses classes = QuantileClasses(counts, 7);
  ASSERT_EQ(classes.Size(), 7);
  std::vector<int> cells(7);
  for (const int count : counts) ++cells[classes.ClassOf(count)];
  for (const int n : cells) EXPECT_NEAR(n, 1000 / 7, 5);
}

TEST(ColorClasses, BreaksBeginClassesAndTheLastIsOpen) {
  const ColorClasses classes = ClassesOf({0, {1, 5, 10, 50}}, {3, 700});
  EXPECT_EQ(classes, (ColorClasses{{1, 5, 10, 50}, std::nullopt}));
  std::vector<std::string> ranges;
  for (int i = 0; i < classes.Size(); ++i) ranges.push_back(ClassRangeText(classes, i));
  EXPECT_EQ(ranges, (std::vector<std::string>{"1–4", "5–9", "10–49", "≥ 50"}));
  const struct {
    int count;
    int fill;
  } cells[] = {{0, -1}, {1, 0}, {4, 0}, {5, 1}, {49, 2}, {50, 3}, {100000, 3}};
  for (const auto& c : cells) EXPECT_EQ(classes.ClassOf(c.count), c.fill) << c.count;

  const ColorClasses above = ClassesOf({0, {3, 4}}, {});
  EXPECT_EQ(above.ClassOf(2), -1) << "counts below the first break are not filled";
  EXPECT_EQ(ClassRangeText(above, 0), "3");
  EXPECT_EQ(ClassRangeText(above, 1), "≥ 4");
}

TEST(ColorClasses, CountsAreTheCountedCellsOfTheList) {
  const TGrids grids = {{{"a", "0"}, {"b", "12"}, {"c", ""}},
                        {{"d", "3"}, {"e", "x1"}, {"f", "1"}}};
  EXPECT_EQ(CountsOfCells(grids), (std::vector<int>{12, 3, 1}));
}

// Relative luminance (sRGB, ITU-R BT.709 weights): what grey print keeps.
double Lightness(const QColor& color) {
  const auto linear = [](double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
         0.0722 * linear(color.blueF());
}

// Every palette runs from light to dark at every number of classes, so that
// more reads as darker in grey print too; the published tables are kept.
TEST(Palettes, RunFromLightToDarkAtEveryNumberOfClasses) {
  ASSERT_EQ(Palettes().front().name, "YlOrRd");
  for (const Palette& palette : Palettes()) {
    for (int classes = 1; classes <= 12; ++classes) {
      const std::vector<QColor> colors = ClassColors(palette, classes);
      ASSERT_EQ(static_cast<int>(colors.size()), classes) << palette.name;
      for (int i = 1; i < classes; ++i) {
        EXPECT_GT(Lightness(colors[i - 1]), Lightness(colors[i]))
            << palette.name << " " << classes << " classes, class " << i;
      }
    }
  }
  const std::vector<QColor> five = ClassColors(*PaletteByName("ylorrd"), 5);
  EXPECT_EQ(five.front().name(), "#ffffb2");
  EXPECT_EQ(five.back().name(), "#bd0026");
  EXPECT_EQ(ClassColors(*PaletteByName("viridis"), 2).back().name(), "#440154");
  EXPECT_EQ(PaletteByName("Rainbow"), nullptr);
}

}  // namespace
}  // namespace velmora
