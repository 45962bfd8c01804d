#include "map/text_metrics.h"

#include <QFontMetrics>

namespace velmora {

int TextWidthOf(const QFont& font, const QString& text) {
  return QFontMetrics(font).horizontalAdvance(text);
}

int TextHeightOf(const QFont& font, const QString&) { return QFontMetrics(font).height(); }

void DrawTextAt(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(x, y + QFontMetrics(painter.font()).ascent(), text);
}

}  // namespace velmora
