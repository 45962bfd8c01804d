#include "platform/ui/image_control.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
  emit mouseDown(event->button(), event->position().toPoint(), false);
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
  emit doubleClicked();
  emit mouseDown(event->button(), event->position().toPoint(), true);
}

}  // namespace velmora
