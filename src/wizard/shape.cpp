#include "wizard/shape.h"

#include <QPainter>

#include "map/qcolor_conversion.h"

namespace velmora {

Shape::Shape(QWidget* parent) : QWidget(parent) {}

void Shape::SetBrushColor(TColor color) {
  brushColor_ = color;
  update();
}

void Shape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(Qt::black);
  painter.setBrush(ToQColor(brushColor_));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace velmora
