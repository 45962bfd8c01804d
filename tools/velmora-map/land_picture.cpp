#include "velmora-map/land_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <random>

namespace velmora::cli {

QImage LandPicture(int sheetColumns, int sheetRows, int sheetSize) {
  const int width = sheetColumns * sheetSize;
  const int height = sheetRows * sheetSize;
  QImage picture(width, height, QImage::Format_RGB32);
  if (picture.isNull()) return picture;
  picture.fill(QColor(206, 228, 168));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  std::mt19937 random(6508);  // fixed: the same picture every time
  const auto uniform = [&random](double from, double to) {
    return std::uniform_real_distribution<double>(from, to)(random);
  };

  // The sea in the north-west, behind a wavy coast.
  QPainterPath sea(QPointF(0, 0));
  for (int x = 0; x <= width; x += 4) {
    const double t = static_cast<double>(x) / width;
    sea.lineTo(x, height * (0.35 * (1 - 1.4 * t)) + std::sin(x / 23.0) * sheetSize * 0.06);
  }
  sea.lineTo(width, 0);
  sea.closeSubpath();
  painter.fillPath(sea, QColor(150, 190, 232));

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(118, 168, 96));
  for (int i = 0; i < sheetColumns * sheetRows * 2; ++i) {
    painter.drawEllipse(QPointF(uniform(0, width), uniform(height * 0.2, height)),
                        uniform(0.1, 0.3) * sheetSize, uniform(0.08, 0.2) * sheetSize);
  }

  // A river from the south-east to the coast.
  QPainterPath river(QPointF(width, height * 0.9));
  for (int step = 1; step <= 40; ++step) {
    const double t = step / 40.0;
    river.lineTo(width * (1 - 0.8 * t) + std::sin(t * 17) * sheetSize * 0.15,
                 height * (0.9 - 0.75 * t) + std::cos(t * 11) * sheetSize * 0.1);
  }
  painter.strokePath(river, QPen(QColor(80, 140, 220), std::max(2.0, sheetSize / 60.0)));

  painter.setBrush(QColor(196, 96, 80));
  for (int i = 0; i < sheetColumns * sheetRows; ++i) {
    const double side = uniform(0.04, 0.08) * sheetSize;
    painter.drawRect(QRectF(uniform(0, width), uniform(height * 0.3, height), side, side));
  }
  return picture;
}

}  // namespace velmora::cli
