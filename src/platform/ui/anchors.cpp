#include "platform/ui/anchors.h"

#include <algorithm>

namespace velmora {
namespace {

// Whole pixels, rounded down the same way for every control, so that two
// controls given the same share of the same growth meet exactly.
int ShareOf(double share, int growth) { return static_cast<int>(share * growth); }

}  // namespace

void Anchors::Add(QWidget& control, EdgeShares shares) {
  controls_.push_back({&control, control.geometry(), shares});
}

void Anchors::Follow(QSize growth) const {
  const int width = std::max(0, growth.width());
  const int height = std::max(0, growth.height());
  for (const Control& control : controls_) {
    const QRect& design = control.design;
    const int left = design.left() + ShareOf(control.shares.left, width);
    const int top = design.top() + ShareOf(control.shares.top, height);
    const int right = design.left() + design.width() + ShareOf(control.shares.right, width);
    const int bottom = design.top() + design.height() + ShareOf(control.shares.bottom, height);
    control.widget->setGeometry(left, top, right - left, bottom - top);
  }
}

}  // namespace velmora
