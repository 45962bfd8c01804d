#include "map/legend.h"

#include <QFontMetrics>
#include <QPen>
#include <QStringList>
#include <algorithm>

#include "grid/grid_types.h"
#include "grid/sheet.h"
#include "map/cell_fills.h"
#include "map/fonts.h"
#include "map/text_metrics.h"

namespace velmora {
namespace {

const QColor kSwatchOutline(160, 160, 164);

std::string Counted(size_t number, const char* one, const char* many) {
  return std::to_string(number) + " " + (number == 1 ? one : many);
}

std::string YearsText(const YearRange& years) {
  if (years.from && years.to) {
    if (*years.from == *years.to) return std::to_string(*years.from);
    return std::to_string(*years.from) + "–" + std::to_string(*years.to);
  }
  return years.from ? "ab " + std::to_string(*years.from) : "bis " + std::to_string(*years.to);
}

QFont Bold(QFont font) {
  font.setFamily(kHeadingFontFamily);
  font.setBold(true);
  return font;
}

// A title is set half as large again as the legend, in bold.
QFont TitleFont(const QFont& font) {
  QFont title = Bold(font);
  title.setPixelSize(font.pixelSize() * 3 / 2);
  return title;
}

QFont FontOf(const QFont& font, StripText::Weight weight) {
  switch (weight) {
    case StripText::Weight::Bold:
      return Bold(font);
    case StripText::Weight::Title:
      return TitleFont(font);
    case StripText::Weight::Plain:
      break;
  }
  return font;
}

// Places items of given widths one after another on lines between two
// edges, starting a new line where an item would pass the right edge.
class Flow {
 public:
  Flow(int left, int right, int top, int lineHeight)
      : left_(left), right_(right), x_(left), y_(top), lineHeight_(lineHeight) {}

  // Where an item goes that follows the one before after `gap` pixels; an
  // item wider than the lines starts one of its own.
  QPoint Place(int width, int gap) {
    if (x_ > left_ && x_ + gap + width > right_) NewLine();
    if (x_ > left_) x_ += gap;
    const QPoint at(x_, y_);
    x_ += width;
    return at;
  }
  // Ends the current line, if anything stands on it, and leaves `space`
  // pixels free below it.
  void NewLine(int space = 0) {
    if (x_ == left_) return;
    x_ = left_;
    y_ += lineHeight_ + space;
  }
  // Below the last line.
  int Bottom() const { return y_ + (x_ > left_ ? lineHeight_ : 0); }

 private:
  int left_;
  int right_;
  int x_;
  int y_;
  int lineHeight_;
};

}  // namespace

std::string ExtentText(const MapState& map) {
  const std::string northWest = FormatSheetNumber(map.NwRow, map.NwColumnIndex);
  const std::string southEast = FormatSheetNumber(map.SeRow, map.SeColumnIndex);
  return "MTB " + northWest + (northWest == southEast ? "" : "–" + southEast);
}

LegendContent MapLegend(const MapState& map, const MapFacts& facts, const ColorClasses& classes,
                        const std::vector<QColor>& colors, int opacity) {
  LegendContent legend;
  legend.heading = facts.measure == CountMeasure::Records ? "Nachweise" : "Taxa";
  for (int i = 0; i < classes.Size() && i < static_cast<int>(colors.size()); ++i) {
    legend.swatches.push_back({FillOverWhite(colors[i], opacity), ClassRangeText(classes, i)});
  }
  legend.facts.emplace_back(GridTypeOfCellsPerSheet(map.CellsPerSheet).name);
  legend.facts.push_back(ExtentText(map));
  if (facts.years.Limits()) legend.facts.push_back(YearsText(facts.years));
  legend.facts.push_back(Counted(facts.countedCells, "Rasterfeld", "Rasterfelder"));
  if (facts.distinctTaxa) {
    legend.facts.push_back(Counted(static_cast<size_t>(*facts.distinctTaxa), "Taxon", "Taxa"));
  }
  return legend;
}

StripLayout LayOutLegend(const LegendContent& legend, const QFont& font, int width) {
  const QFontMetrics metrics(font);
  const int line = metrics.height();
  const int free = line / 2;
  StripLayout strip;
  Flow flow(free, width - free, free, line);
  const auto text = [&](const std::string& content, int gap,
                        StripText::Weight weight = StripText::Weight::Plain) {
    const QString laid = QString::fromStdString(content);
    const QPoint at = flow.Place(TextWidthOf(FontOf(font, weight), laid), gap);
    strip.texts.push_back({at, laid, weight});
  };
  // The groups stand a quarter of a line apart.
  const int groupGap = line / 4;
  if (!legend.heading.empty()) {
    text(legend.heading, 0, StripText::Weight::Bold);
    flow.NewLine(groupGap);
  }
  const int side = metrics.ascent();
  const int labelGap = std::max(1, line / 3);
  for (const LegendSwatch& swatch : legend.swatches) {
    const QString label = QString::fromStdString(swatch.label);
    const QPoint at = flow.Place(side + labelGap + TextWidthOf(font, label), line);
    strip.swatches.emplace_back(QRect(at.x(), at.y() + (line - side) / 2, side, side),
                                swatch.color);
    strip.texts.push_back({{at.x() + side + labelGap, at.y()}, label});
  }
  flow.NewLine(groupGap);
  const QString dot = QString::fromUtf8("·");
  const int dotWidth = TextWidthOf(font, dot);
  const int factGap = dotWidth + line;
  for (const std::string& fact : legend.facts) {
    text(fact, factGap);
    // A fact after another on its line is set off from it by a dot.
    if (strip.texts.back().at.x() > free) {
      const QPoint after = strip.texts.back().at;
      strip.texts.insert(strip.texts.end() - 1,
                         {{after.x() - factGap / 2 - dotWidth / 2, after.y()}, dot});
    }
  }
  strip.height = flow.Bottom() + free;
  return strip;
}

StripLayout LayOutTitle(const std::string& title, const QFont& font, int width) {
  const QFont bold = TitleFont(font);
  const int line = QFontMetrics(bold).height();
  const int free = line / 2;
  StripLayout strip;
  QStringList lines;
  for (const QString& word : QString::fromStdString(title).split(' ', Qt::SkipEmptyParts)) {
    const QString longer = lines.isEmpty() ? word : lines.back() + ' ' + word;
    if (!lines.isEmpty() && TextWidthOf(bold, longer) <= width - 2 * free) {
      lines.back() = longer;
    } else {
      lines.push_back(word);
    }
  }
  for (int i = 0; i < lines.size(); ++i) {
    const int x = std::max(free, (width - TextWidthOf(bold, lines[i])) / 2);
    strip.texts.push_back({{x, free + i * line}, lines[i], StripText::Weight::Title});
  }
  strip.height = lines.isEmpty() ? 0 : static_cast<int>(lines.size()) * line + 2 * free;
  return strip;
}

void DrawStrip(QPainter& painter, QPoint origin, const StripLayout& strip, const QFont& font,
               const QColor& color) {
  painter.save();
  painter.translate(origin);
  for (const auto& [rect, fill] : strip.swatches) {
    painter.fillRect(rect, fill);
    painter.setPen(QPen(kSwatchOutline, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
  }
  painter.setPen(color);
  for (const StripText& text : strip.texts) {
    painter.setFont(FontOf(font, text.weight));
    DrawTextAt(painter, text.at.x(), text.at.y(), text.text);
  }
  painter.restore();
}

}  // namespace velmora
