#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <optional>
#include <string>

#include "map/legend.h"

namespace velmora {

// What a finished map adds around its picture: a title above it and a legend
// below it, in one font and colour.
struct SheetDecoration {
  std::string title;  // none when empty
  std::optional<LegendContent> legend;
  QFont font;
  QColor textColor = Qt::black;
};

// Where the parts of a finished map lie: the title strip at the top, the map
// picture below it, the legend strip below the picture, all as wide as the
// picture. The legend never covers the map.
struct SheetLayout {
  QSize size;
  QPoint mapAt;  // the picture's top-left corner
  StripLayout title;
  StripLayout legend;
  QPoint legendAt;
};

SheetLayout LayOutSheet(QSize picture, const SheetDecoration& decoration);

// Draws the title and the legend of the layout onto a white sheet (their
// strips must be white already).
void DrawSheetStrips(QPainter& painter, const SheetLayout& layout,
                     const SheetDecoration& decoration);

// The finished map as a picture: the picture itself when nothing is added,
// else a white sheet of the layout's size with the picture, the title and the
// legend on it.
QImage ComposeSheet(const QImage& picture, const SheetLayout& layout,
                    const SheetDecoration& decoration);

}  // namespace velmora
