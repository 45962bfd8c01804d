#pragma once

#include <QFont>
#include <QPainter>
#include <QString>

namespace velmora {

// The advance width of a one-line text in the font, in pixels.
int TextWidthOf(const QFont& font, const QString& text);

// The font's line height in pixels: the same for every text.
int TextHeightOf(const QFont& font, const QString& text);

// Draws a one-line text in the painter's font with the top-left corner of its
// line box (TextWidthOf x TextHeightOf) at (x, y), as the map places its texts.
void DrawTextAt(QPainter& painter, int x, int y, const QString& text);

}  // namespace velmora
