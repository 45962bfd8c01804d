#include "map/view.h"

#include <limits>
#include <optional>

#include "map/rounding.h"

namespace velmora {
namespace {

// The factors are the exact float values of 1.1 and 0.9.
static_assert(static_cast<double>(kZoomIn.numerator) / kZoomIn.denominator ==
              static_cast<double>(1.1f));
static_assert(static_cast<double>(kZoomOut.numerator) / kZoomOut.denominator ==
              static_cast<double>(0.9f));

std::int64_t Times(std::int64_t value, ZoomFactor factor) {
  return RoundHalfEven(value * factor.numerator, factor.denominator);
}

bool In32Bits(std::int64_t value) {
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// The rectangle, if all four of its edges are 32-bit coordinates.
std::optional<QRect> RectOf(std::int64_t left, std::int64_t top, std::int64_t width,
                            std::int64_t height) {
  if (!In32Bits(left) || !In32Bits(top) || !In32Bits(width) || !In32Bits(height) ||
      !In32Bits(left + width) || !In32Bits(top + height)) {
    return std::nullopt;
  }
  return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(width),
               static_cast<int>(height));
}

}  // namespace

ZoomFactor ZoomFactorOf(int wheelDelta) { return wheelDelta > 0 ? kZoomIn : kZoomOut; }

QRect ZoomedBounds(const QRect& bounds, QPoint pointer, int wheelDelta, QSize pictureSize) {
  const ZoomFactor f = ZoomFactorOf(wheelDelta);
  const std::int64_t width = Times(bounds.width(), f);
  const std::int64_t height = Times(bounds.height(), f);
  if (wheelDelta > 0 && (width > std::int64_t{kMaxZoom} * pictureSize.width() ||
                         height > std::int64_t{kMaxZoom} * pictureSize.height())) {
    return bounds;
  }
  const std::int64_t left = pointer.x() - Times(std::int64_t{pointer.x()} - bounds.left(), f);
  const std::int64_t top = pointer.y() - Times(std::int64_t{pointer.y()} - bounds.top(), f);
  return RectOf(left, top, width, height).value_or(bounds);
}

QRect DraggedBounds(const QRect& bounds, QPoint pointer, QPoint dragOrigin) {
  const std::int64_t left = std::int64_t{pointer.x()} - dragOrigin.x();
  const std::int64_t top = std::int64_t{pointer.y()} - dragOrigin.y();
  return RectOf(left, top, bounds.width(), bounds.height()).value_or(bounds);
}

}  // namespace velmora
