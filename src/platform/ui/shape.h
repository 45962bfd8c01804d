#pragma once

#include <QWidget>
#include <cstdint>

namespace velmora {

// A rectangle with a one-pixel black outline, filled with a colour of the
// settings' kind (0x00BBGGRR for a plain colour). It only shows the colour.
class Shape : public QWidget {
  Q_OBJECT

 public:
  explicit Shape(QWidget* parent);

  std::uint32_t BrushColor() const { return brushColor_; }
  void SetBrushColor(std::uint32_t color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::uint32_t brushColor_ = 0x000000;
};

}  // namespace velmora
