#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace velmora {

// Shows a picture stretched to the control's own bounds; after a load the two
// sizes are equal and the picture shows at 1:1. An empty picture shows nothing.
class ImageControl : public QWidget {
  Q_OBJECT

 public:
  explicit ImageControl(QWidget* parent);

  const QImage& Picture() const { return picture_; }
  // Changes to the picture show at the next repaint.
  QImage& Picture() { return picture_; }

 signals:
  // A button went down on the control, at `position` in its own pixels;
  // `doubleClick` marks the second press of a double-click, which comes after
  // doubleClicked.
  void mouseDown(Qt::MouseButton button, QPoint position, bool doubleClick);
  void doubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace velmora
