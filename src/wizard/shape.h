#pragma once

#include <QWidget>

#include "platform/tcolor.h"

namespace velmora {

// A rectangle with a one-pixel black outline, filled with a colour of the
// settings' kind. It only shows the colour.
class Shape : public QWidget {
  Q_OBJECT

 public:
  explicit Shape(QWidget* parent);

  TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(TColor color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TColor brushColor_ = clBlack;
};

}  // namespace velmora
