#include "map/value_fit.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "map/map_font.h"
#include "map/text_metrics.h"

namespace velmora {
namespace {

constexpr double kFreeShare = 0.8;

bool Fits(const std::vector<std::string>& values, int points, double cellWidth, double cellHeight,
          std::string& widest) {
  const QFont font = MapFont(points);
  const int height = QFontMetrics(font).tightBoundingRect("0123456789").height();
  int width = 0;
  for (const std::string& value : values) {
    const int w = TextWidthOf(font, QString::fromStdString(value));
    if (w > width) {
      width = w;
      widest = value;
    }
  }
  return width <= kFreeShare * cellWidth && height <= kFreeShare * cellHeight;
}

}  // namespace

ValueFit FitValues(const TGrids& grids, double cellWidth, double cellHeight, int largestPoints) {
  // Counts repeat across a map: each distinct text is measured once per size.
  std::unordered_set<std::string> distinct;
  for (const auto& row : grids) {
    for (const TGrid& cell : row) {
      if (cell.Count != "0") distinct.insert(cell.Count);
    }
  }
  std::vector<std::string> values(distinct.begin(), distinct.end());
  std::ranges::sort(values);
  ValueFit fit;
  if (values.empty()) {
    fit.points = largestPoints;
    return fit;
  }
  for (int points = largestPoints; points >= std::min(largestPoints, kSmallestValuePoints);
       --points) {
    if (Fits(values, points, cellWidth, cellHeight, fit.widest)) {
      fit.points = points;
      break;
    }
  }
  return fit;
}

}  // namespace velmora
