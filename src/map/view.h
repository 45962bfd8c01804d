#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

namespace velmora {

// How the map control shows the picture: zoom and pan change only the control's
// bounds (in the scroll box's client coordinates), never the picture, which is
// always stretched to them.

// One wheel step's factor, the exact value of the single-precision number the
// wheel uses, as a fraction with a power-of-two denominator, so that products
// with it are exact and an exact half rounds to even.
struct ZoomFactor {
  std::int64_t numerator;
  std::int64_t denominator;
};

// 1.1 as a float: 1.10000002384185791015625.
inline constexpr ZoomFactor kZoomIn{9227469, 1 << 23};
// 0.9 as a float: 0.89999997615814208984375.
inline constexpr ZoomFactor kZoomOut{15099494, 1 << 24};

// A wheel delta above 0 zooms in, any other zooms out; its size does not matter.
ZoomFactor ZoomFactorOf(int wheelDelta);

// How far the control may grow: this many times the picture's own width and
// height. Beyond it the stretched picture shows nothing new, and unbounded
// steps would soon take its bounds past 32-bit coordinates.
inline constexpr int kMaxZoom = 64;

// The bounds after one wheel step with the pointer at `pointer` (the scroll
// box's client coordinates): the picture's point under the pointer stays
// there. With f the step's factor: p.x - round((p.x - left) * f), p.y -
// round((p.y - top) * f), round(width * f) x round(height * f), each rounded
// half to even: the picture is scaled about the pointer's place on it. (With
// the picture at (0, 0) the left is the same as left + p.x - round(p.x * f);
// but that form, taken from a picture already zoomed or panned, scales about
// the scroll box's corner instead and moves the picture at every step.) Zooming out ends at 4
// pixels, where round(4 * 0.9) = 4. A step in that would take the width or height beyond kMaxZoom
// times the picture's, or an edge out of 32-bit coordinates, leaves the bounds as they are; so does
// a zoom in of an empty picture.
QRect ZoomedBounds(const QRect& bounds, QPoint pointer, int wheelDelta, QSize pictureSize);

// The bounds while dragging: the picture's point grabbed at `dragOrigin` (the
// press position in the control's own coordinates) stays under the pointer at
// `pointer` (the scroll box's client coordinates); the size is kept. Bounds
// whose edges would leave 32-bit coordinates are left as they are.
QRect DraggedBounds(const QRect& bounds, QPoint pointer, QPoint dragOrigin);

}  // namespace velmora
