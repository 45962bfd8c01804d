#include "platform/ui/image_control.h"

#include <QPainter>

namespace velmora {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
}

}  // namespace velmora
