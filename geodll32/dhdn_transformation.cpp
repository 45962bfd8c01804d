#include "dhdn_transformation.h"

#include <proj.h>

#include <cmath>
#include <memory>

namespace geodll32 {
namespace {

struct ContextDestroyer {
  void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
};
struct TransformationDestroyer {
  void operator()(PJ* transformation) const { proj_destroy(transformation); }
};

class Transformation {
 public:
  Transformation() : context_(proj_context_create()) {
    if (!context_) return;
    // Failures come back as status codes; PROJ's own log lines would only
    // clutter the host's standard error.
    proj_log_level(context_.get(), PJ_LOG_NONE);
    // proj_create_crs_to_crs keeps every candidate operation with its area of
    // use, and proj_trans picks the most accurate one whose area contains the
    // point: inside Germany "DHDN to WGS 84 (4)", the BETA2007 grid shift
    // (proj-data ships it as BETA2007.gsb), outside it a Helmert
    // transformation. Both systems have latitude first.
    transformation_.reset(
        proj_create_crs_to_crs(context_.get(), "EPSG:4326", "EPSG:4314", nullptr));
  }

  std::optional<GeographicPoint> Apply(GeographicPoint point, PJ_DIRECTION direction) {
    if (!transformation_) return std::nullopt;
    if (!std::isfinite(point.latitude) || !std::isfinite(point.longitude)) return std::nullopt;
    PJ_COORD coordinate = proj_coord(point.latitude, point.longitude, 0, 0);
    coordinate = proj_trans(transformation_.get(), direction, coordinate);
    // A point PROJ cannot transform comes back as HUGE_VAL.
    if (!std::isfinite(coordinate.v[0]) || !std::isfinite(coordinate.v[1])) {
      proj_errno_reset(transformation_.get());
      return std::nullopt;
    }
    return GeographicPoint{coordinate.v[0], coordinate.v[1]};
  }

 private:
  // Declared first, so that it outlives the transformation made in it.
  std::unique_ptr<PJ_CONTEXT, ContextDestroyer> context_;
  std::unique_ptr<PJ, TransformationDestroyer> transformation_;
};

// Set up when the library is loaded: PROJ reads its database and grid files
// for it, tens of milliseconds that would otherwise fall on the first
// conversion, in the middle of the host's first count.
Transformation theTransformation;

}  // namespace

std::optional<GeographicPoint> Wgs84ToDhdn(GeographicPoint wgs84) {
  return theTransformation.Apply(wgs84, PJ_FWD);
}

std::optional<GeographicPoint> DhdnToWgs84(GeographicPoint dhdn) {
  return theTransformation.Apply(dhdn, PJ_INV);
}

}  // namespace geodll32
