#include "demo/landscape.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "demo/demo_random.h"

namespace velmora::demo {
namespace {

const QColor kLand(222, 234, 196);
const QColor kLandAlternate(214, 228, 186);
const QColor kForest(146, 186, 124);
const QColor kWater(136, 180, 226);
const QColor kRoad(204, 128, 96);
const QColor kTown(188, 176, 172);

constexpr double kTurn = 6.283185307179586;

// Built with braces, so that the random values are drawn in reading order
// (the order of a function's arguments is the compiler's choice).
struct Ellipse {
  QPointF centre;
  double rx, ry;
};
struct Segment {
  QPointF from, to;
};

class Painter {
 public:
  Painter(QImage& picture, QSize sheet, std::uint64_t seed)
      : painter_(&picture),
        random_(seed ^ 0xB17A5EEDull),
        width_(picture.width()),
        height_(picture.height()),
        sheet_(sheet) {
    painter_.setRenderHint(QPainter::Antialiasing);
  }

  // Sheet-sized tiles, so that the sheets show beneath the grid.
  void Land(int sheetColumns, int sheetRows) {
    for (int row = 0; row < sheetRows; ++row) {
      for (int column = 0; column < sheetColumns; ++column) {
        painter_.fillRect(QRect(QPoint(column * sheet_.width(), row * sheet_.height()), sheet_),
                          (row + column) % 2 ? kLandAlternate : kLand);
      }
    }
  }

  // `count` ellipses anywhere, their radii the given parts of a sheet.
  void Patches(int count, double widthFrom, double widthTo, double heightFrom, double heightTo,
               const QColor& colour) {
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(colour);
    for (int i = 0; i < count; ++i) {
      const Ellipse e{{random_.Between(0, width_), random_.Between(0, height_)},
                      sheet_.width() * random_.Between(widthFrom, widthTo),
                      sheet_.height() * random_.Between(heightFrom, heightTo)};
      painter_.drawEllipse(e.centre, e.rx, e.ry);
    }
  }

  // A river from the west edge to the east: two waves of unrelated lengths
  // make a meander that does not repeat.
  void River() {
    const double baseline = random_.Between(0.15, 0.85) * height_;
    const double amplitude = random_.Between(0.2, 0.6) * sheet_.height();
    const double wavelength = random_.Between(0.8, 1.6) * sheet_.width();
    const double phase = random_.Between(0, kTurn);
    const auto course = [&](double x) {
      return baseline + amplitude * std::sin(x / wavelength * kTurn) +
             amplitude * 0.6 * std::sin(x / (wavelength * 2.7) * kTurn + phase);
    };
    QPainterPath river(QPointF(0, course(0)));
    for (double x = 2; x < width_ + 2; x += 2) river.lineTo(x, course(x));
    painter_.strokePath(river, Pen(kWater, std::max(2.0, sheet_.width() / 40.0)));
  }

  // A straight road from the north edge to the south one, or from the west
  // edge to the east one, no steeper than one in two either way.
  void Road(bool northToSouth) {
    const double along = northToSouth ? width_ : height_;
    const double across = northToSouth ? height_ : width_;
    const double start = random_.Between(0, along);
    const double end = start + random_.Between(-0.5, 0.5) * across;
    const Segment road =
        northToSouth ? Segment{{start, 0}, {end, across}} : Segment{{0, start}, {across, end}};
    painter_.setPen(Pen(kRoad, std::max(1.5, sheet_.width() / 80.0)));
    painter_.drawLine(road.from, road.to);
  }

  void Town() {
    const QPointF centre{random_.Between(0, width_), random_.Between(0, height_)};
    const double half = std::max(2, sheet_.width() / 24);
    painter_.fillRect(QRectF(centre - QPointF(half, half), QSizeF(2 * half, 2 * half)), kTown);
  }

 private:
  static QPen Pen(const QColor& colour, double width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  }

  QPainter painter_;
  DemoRandom random_;
  const double width_;
  const double height_;
  const QSize sheet_;
};

}  // namespace

QImage Landscape(int sheetColumns, int sheetRows, QSize sheet, std::uint64_t seed) {
  QImage picture(sheetColumns * sheet.width(), sheetRows * sheet.height(), QImage::Format_RGB32);
  if (picture.isNull()) return picture;
  {
    Painter painter(picture, sheet, seed);
    painter.Land(sheetColumns, sheetRows);
    const int sheets = sheetColumns * sheetRows;
    painter.Patches(sheets * 2, 0.1, 0.35, 0.08, 0.3, kForest);
    painter.Patches(std::max(1, sheets / 3), 0.03, 0.08, 0.02, 0.06, kWater);
    for (int river = 0; river < 1 + sheetRows / 3; ++river) painter.River();
    // As many roads per sheet row and column whatever the extent.
    for (int road = 0; road < 1 + sheetColumns / 2; ++road) painter.Road(true);
    for (int road = 0; road < 1 + sheetRows / 2; ++road) painter.Road(false);
    for (int town = 0; town < sheets; ++town) painter.Town();
  }  // the painter ends before the picture is handed on
  return picture;
}

}  // namespace velmora::demo
