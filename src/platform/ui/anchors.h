#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace velmora {

// How far each edge of a control moves when its dialog grows beyond the size
// it was designed for, as a share of the growth: 0 stays where designed, 1
// keeps its distance to the dialog's right or bottom edge, 0.5 moves half as
// far (two controls side by side share the growth).
struct EdgeShares {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// The controls of a dialog of fixed design that follow its size, as a classic
// form's anchors do: what the dialog gains over its design size goes to the
// controls that show more with more room; the others keep their places.
class Anchors {
 public:
  // Takes the control's geometry now as its design geometry.
  void Add(QWidget& control, EdgeShares shares);

  // Places every control for a dialog that is `growth` larger than designed
  // in width and height; a dialog smaller than designed places them as
  // designed.
  void Follow(QSize growth) const;

 private:
  struct Control {
    QWidget* widget;
    QRect design;
    EdgeShares shares;
  };
  std::vector<Control> controls_;
};

}  // namespace velmora
