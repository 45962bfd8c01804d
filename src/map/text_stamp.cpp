#include "map/text_stamp.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QRect>
#include <QTextLayout>
#include <algorithm>
#include <cstdint>

#include "map/text_metrics.h"

namespace velmora {
namespace {

// The four 8-bit channels of x, each times a / 255, rounded as the painter's
// raster engine rounds when it blends.
std::uint32_t ChannelsTimes(std::uint32_t x, std::uint32_t a) {
  std::uint32_t redBlue = (x & 0xff00ff) * a;
  redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
  std::uint32_t alphaGreen = ((x >> 8) & 0xff00ff) * a;
  alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
  return alphaGreen | redBlue;
}

// Whether any pixel on the picture's edge holds ink.
bool InkOnEdge(const QImage& pixels) {
  const int right = pixels.width() - 1;
  const int bottom = pixels.height() - 1;
  for (int x = 0; x <= right; ++x) {
    if (pixels.pixel(x, 0) != 0 || pixels.pixel(x, bottom) != 0) return true;
  }
  for (int y = 0; y <= bottom; ++y) {
    if (pixels.pixel(0, y) != 0 || pixels.pixel(right, y) != 0) return true;
  }
  return false;
}

// The glyph as the painter draws it at `position` (from the top-left corner of
// the line box to its origin on the baseline) over nothing, with a margin
// around its bounds that grows until no ink touches the edge. Drawn at a
// whole-pixel offset, it is rasterised as it is wherever the text is laid.
QImage DrawnGlyph(const QGlyphRun& glyph, const QPointF& position, const QColor& color,
                  QPoint& corner) {
  const QRect bounds = glyph.boundingRect().translated(position).toAlignedRect();
  for (int margin = 2;; margin *= 2) {
    const QRect area = bounds.adjusted(-margin, -margin, margin, margin);
    QImage pixels(area.size(), QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::transparent);
    QPainter painter(&pixels);
    painter.setPen(color);
    painter.drawGlyphRun(position - area.topLeft(), glyph);
    painter.end();
    if (!InkOnEdge(pixels)) {
      corner = area.topLeft();
      return pixels;
    }
  }
}

}  // namespace

// The painter's cache takes glyphs of fewer pixels than QT_MAX_CACHED_GLYPH_SIZE,
// 64 unless set. The font's pixel size is rounded: one pixel less keeps clear
// of the limit.
bool TextStamp::GivesThePaintersPixels(const QFont& font, const QColor& color) {
  static const int limit = [] {
    bool set = false;
    const int value = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE", &set);
    return set && value > 0 ? value : 64;
  }();
  if (QFontInfo(font).pixelSize() >= limit - 1) return false;
  const QString digits = "0123456789";
  constexpr int kMargin = 4;
  QImage laid(TextWidthOf(font, digits) + 2 * kMargin, TextHeightOf(font, digits) + 2 * kMargin,
              QImage::Format_RGB32);
  for (int y = 0; y < laid.height(); ++y) {
    for (int x = 0; x < laid.width(); ++x) {
      laid.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * 13 + y * 7) % 256));
    }
  }
  QImage painted = laid;
  const TextStamp stamp(font, color, digits);
  const PictureRows rows(laid);
  for (int row = 0; row < laid.height(); ++row) stamp.LayOverRow(rows, kMargin, kMargin, row);
  QPainter painter(&painted);
  painter.setFont(font);
  painter.setPen(color);
  DrawTextAt(painter, kMargin, kMargin, digits);
  painter.end();
  return laid == painted;
}

// The glyphs stand where a line of the text places them, the line box's
// top-left corner at the origin.
TextStamp::TextStamp(const QFont& font, const QColor& color, const QString& text) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  for (const QGlyphRun& run : layout.glyphRuns()) {
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < indexes.size(); ++i) {
      QGlyphRun one;
      one.setRawFont(run.rawFont());
      one.setGlyphIndexes({indexes[i]});
      one.setPositions({QPointF(0, 0)});
      QPoint corner;
      const QImage drawn = DrawnGlyph(one, positions[i], color, corner);
      AddGlyph(drawn, corner);
    }
  }
  std::ranges::stable_sort(runs_, {}, &Run::y);
  for (int row = ink_.top(); row <= ink_.bottom() + 1; ++row) {
    rowStarts_.push_back(std::ranges::lower_bound(runs_, row, {}, &Run::y) - runs_.begin());
  }
}

void TextStamp::AddGlyph(const QImage& drawn, QPoint corner) {
  for (int y = 0; y < drawn.height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(drawn.constScanLine(y));
    for (int x = 0; x < drawn.width();) {
      if (row[x] == 0) {
        ++x;
        continue;
      }
      const int begin = x;
      while (x < drawn.width() && row[x] != 0) pixels_.push_back(row[x++]);
      runs_.push_back(
          {corner.x() + begin, corner.y() + y, x - begin, pixels_.size() - (x - begin)});
      ink_ |= QRect(corner.x() + begin, corner.y() + y, x - begin, 1);
    }
  }
}

// Over an opaque pixel the painter blends the colour c by a glyph's coverage a
// as c * a + pixel * (1 - a), each product rounded on its own; the stamp's
// pixels hold c * a already. Full coverage leaves c alone, as the painter
// sets it.
void TextStamp::LayOverRow(const PictureRows& picture, int x, int y, int row) const {
  const int inkRow = row - y - ink_.top();
  if (inkRow < 0 || inkRow >= ink_.height() || row < 0 || row >= picture.height) return;
  std::uint32_t* const line = picture.Row(row);
  for (size_t r = rowStarts_[inkRow]; r < rowStarts_[inkRow + 1]; ++r) {
    const Run& run = runs_[r];
    const int left = x + run.x;
    const int begin = std::max(0, -left);
    const int end = std::min(run.length, picture.width - left);
    const std::uint32_t* from = pixels_.data() + run.first;
    for (int i = begin; i < end; ++i) {
      const std::uint32_t pixel = from[i];
      std::uint32_t& to = line[left + i];
      to = pixel + ChannelsTimes(to, 255 - (pixel >> 24));
    }
  }
}

}  // namespace velmora
