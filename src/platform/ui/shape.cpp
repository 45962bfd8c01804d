#include "platform/ui/shape.h"

#include <QPainter>

namespace velmora {
Shape::Shape(QWidget* parent) : QWidget(parent) {}

void Shape::SetBrushColor(TColor color) {
  brushColor_ = color;
  update();
}

void Shape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(Qt::black);
  // A system colour or one of the special values has no fixed RGB; the
  // shape then shows the window's own background.
  const QColor fill =
      (brushColor_ & 0xFF000000) == 0
          ? QColor(brushColor_ & 0xFF, (brushColor_ >> 8) & 0xFF, (brushColor_ >> 16) & 0xFF)
          : palette().color(QPalette::Window);
  painter.setBrush(fill);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace velmora
