#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "count/count_result.h"
#include "count/year_range.h"
#include "grid/cell_list.h"
#include "map/color_classes.h"

namespace velmora {

// One key of a legend: a colour and what it stands for.
struct LegendSwatch {
  QColor color;
  std::string label;
};

// What a legend says: a heading, the keys, and facts about the map that
// follow one another on as many lines as they need.
struct LegendContent {
  std::string heading;
  std::vector<LegendSwatch> swatches;
  std::vector<std::string> facts;

  bool operator==(const LegendContent&) const = default;
};

// What a counted map's legend tells besides its classes.
struct MapFacts {
  CountMeasure measure = CountMeasure::Taxa;
  YearRange years;
  size_t countedCells = 0;
  // Distinct taxa over all counted cells; nothing where that is not known
  // (counts read from a file).
  std::optional<int> distinctTaxa;
};

// The extent of a map as its legend names it: "MTB 6508–6711", or "MTB 6508"
// for one sheet.
std::string ExtentText(const MapState& map);

// The legend of a counted map: the measure as its heading ("Taxa",
// "Nachweise"), a key per class with its range, and as facts the grid type,
// the extent ("MTB 6508–6711"), the years when they are limited ("2000–2010",
// "ab 2000", "bis 2005"), the counted cells ("312 Rasterfelder") and the
// distinct taxa ("245 Taxa"). The keys show the class colours as the fills lay
// them over white at `opacity`.
LegendContent MapLegend(const MapState& map, const MapFacts& facts, const ColorClasses& classes,
                        const std::vector<QColor>& colors, int opacity);

// A text of a laid-out legend or title, by the top-left corner of its line
// box, and its weight: plain, bold (a heading), or a title's (bold, half as
// large again).
struct StripText {
  enum class Weight { Plain, Bold, Title };
  QPoint at;
  QString text;
  Weight weight = Weight::Plain;

  bool operator==(const StripText&) const = default;
};

// Texts and keys placed in a strip of a given width, from its top-left corner.
struct StripLayout {
  std::vector<StripText> texts;
  std::vector<std::pair<QRect, QColor>> swatches;
  int height = 0;
};

// The legend laid out in a strip `width` pixels wide in `font`: the heading in
// bold, then the keys side by side, then the facts separated by " · ", each
// group on as many lines as it needs, with half a line free around them.
StripLayout LayOutLegend(const LegendContent& legend, const QFont& font, int width);

// A title laid out in a strip `width` pixels wide: bold and half as large
// again as `font`, word by word on as many lines as it needs, each line
// centred, with half a line free around it.
StripLayout LayOutTitle(const std::string& title, const QFont& font, int width);

// Draws a laid-out strip with its top-left corner at `origin`: the texts in
// `font` (of the weight they were placed in) and `color`, each key a rectangle of its colour
// with a grey outline.
void DrawStrip(QPainter& painter, QPoint origin, const StripLayout& strip, const QFont& font,
               const QColor& color);

}  // namespace velmora
