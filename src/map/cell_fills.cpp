#include "map/cell_fills.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "map/rounding.h"

namespace velmora {
namespace {

int AlphaOf(int opacity) {
  return static_cast<int>(RoundHalfEven(std::int64_t{std::clamp(opacity, 0, 100)} * 255, 100));
}

QColor FillOver(const QColor& color, int opacity, int ground) {
  const int alpha = AlphaOf(opacity);
  const auto over = [&](int channel) {
    return (channel * alpha + ground * (255 - alpha) + 127) / 255;
  };
  return QColor(over(color.red()), over(color.green()), over(color.blue()));
}

// The relative luminance and contrast ratio of WCAG 2.x (W3C, Web Content
// Accessibility Guidelines, "relative luminance" and "contrast ratio").
double Luminance(const QColor& color) {
  const auto linear = [](int channel) {
    const double v = channel / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(color.red()) + 0.7152 * linear(color.green()) +
         0.0722 * linear(color.blue());
}

double Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

constexpr int kLightGrey = 192;
constexpr double kReadableContrast = 4.5;

}  // namespace

QColor FillOverWhite(const QColor& color, int opacity) { return FillOver(color, opacity, 255); }

QColor ValueColorOn(const QColor& fill, int opacity, const QColor& value) {
  const QColor ground = FillOver(fill, opacity, kLightGrey);
  QColor best = value;
  if (Contrast(value, ground) >= kReadableContrast) return best;
  for (const QColor& other : {QColor(Qt::white), QColor(Qt::black)}) {
    if (Contrast(other, ground) > Contrast(best, ground)) best = other;
  }
  return best;
}

void DrawCellFills(QPainter& painter, QSize size, const TGrids& grids,
                   const CellFillDrawing& fills) {
  if (fills.cellRows <= 0 || fills.cellColumns <= 0 || fills.classes.Size() == 0) return;
  const int mapWidth = size.width() - fills.margins.left;
  const int mapHeight = size.height() - fills.margins.top;
  std::vector<QColor> colors;
  for (QColor color : fills.colors) {
    color.setAlpha(AlphaOf(fills.opacity));
    colors.push_back(color);
  }
  std::vector<int> columnStart(fills.cellColumns + 1);
  for (int i = 0; i <= fills.cellColumns; ++i) {
    columnStart[i] = fills.margins.left + PartStart(i, mapWidth, fills.cellColumns);
  }
  const int rows = std::min(fills.cellRows, static_cast<int>(grids.size()));
  for (int j = 0; j < rows; ++j) {
    const int top = fills.margins.top + PartStart(j, mapHeight, fills.cellRows);
    const int bottom = fills.margins.top + PartStart(j + 1, mapHeight, fills.cellRows);
    const int columns = std::min(fills.cellColumns, static_cast<int>(grids[j].size()));
    const auto classOf = [&](int i) {
      const int count = CountOfCell(grids[j][i]);
      return count > 0 ? fills.classes.ClassOf(count) : -1;
    };
    // Neighbours of one class are filled as one rectangle: a fine grid has
    // hundreds of thousands of cells.
    for (int i = 0; i < columns;) {
      const int fill = classOf(i);
      int end = i + 1;
      while (end < columns && classOf(end) == fill) ++end;
      if (fill >= 0 && fill < static_cast<int>(colors.size())) {
        painter.fillRect(
            QRect(columnStart[i], top, columnStart[end] - columnStart[i], bottom - top),
            colors[fill]);
      }
      i = end;
    }
  }
}

}  // namespace velmora
