#include "map/map_sheet.h"

#include "map/large_picture.h"

namespace velmora {

SheetLayout LayOutSheet(QSize picture, const SheetDecoration& decoration) {
  SheetLayout layout;
  layout.title = LayOutTitle(decoration.title, decoration.font, picture.width());
  if (decoration.legend) {
    layout.legend = LayOutLegend(*decoration.legend, decoration.font, picture.width());
  }
  layout.mapAt = {0, layout.title.height};
  layout.legendAt = {0, layout.title.height + picture.height()};
  layout.size = {picture.width(), layout.legendAt.y() + layout.legend.height};
  return layout;
}

void DrawSheetStrips(QPainter& painter, const SheetLayout& layout,
                     const SheetDecoration& decoration) {
  DrawStrip(painter, {0, 0}, layout.title, decoration.font, decoration.textColor);
  DrawStrip(painter, layout.legendAt, layout.legend, decoration.font, decoration.textColor);
}

QImage ComposeSheet(const QImage& picture, const SheetLayout& layout,
                    const SheetDecoration& decoration) {
  if (layout.size == picture.size()) return picture;
  QImage sheet = LargePicture(layout.size);
  if (sheet.isNull()) return sheet;
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  painter.drawImage(layout.mapAt, picture);
  DrawSheetStrips(painter, layout, decoration);
  return sheet;
}

}  // namespace velmora
