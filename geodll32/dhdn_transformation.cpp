#include "dhdn_transformation.h"

#include <proj.h>

#include <charconv>
#include <cmath>
#include <memory>
#include <string_view>

namespace geodll32 {
namespace {

struct ContextDestroyer {
  void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
};
// A transformation or an operation: PROJ's objects share one type.
struct ObjectDestroyer {
  void operator()(PJ* object) const { proj_destroy(object); }
};
using ObjectHandle = std::unique_ptr<PJ, ObjectDestroyer>;

PJ_DIRECTION ProjDirection(Direction direction) {
  return direction == Direction::Wgs84ToDhdn ? PJ_FWD : PJ_INV;
}

// The file name without its folder: where PROJ keeps its grids is the
// installation's business, which grid it read is the user's.
std::string_view FileName(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

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

  std::optional<GeographicPoint> Apply(GeographicPoint point, Direction direction) {
    if (!transformation_) return std::nullopt;
    if (!std::isfinite(point.latitude) || !std::isfinite(point.longitude)) return std::nullopt;
    PJ_COORD coordinate = proj_coord(point.latitude, point.longitude, 0, 0);
    coordinate = proj_trans(transformation_.get(), ProjDirection(direction), coordinate);
    // A point PROJ cannot transform comes back as HUGE_VAL.
    if (!std::isfinite(coordinate.v[0]) || !std::isfinite(coordinate.v[1])) {
      proj_errno_reset(transformation_.get());
      return std::nullopt;
    }
    return GeographicPoint{coordinate.v[0], coordinate.v[1]};
  }

  // PROJ remembers which of its candidate operations the last proj_trans
  // used; it is asked right after the point's own transformation.
  std::optional<std::string> Describe(GeographicPoint point, Direction direction) {
    if (!Apply(point, direction)) return std::nullopt;
    ObjectHandle operation(proj_trans_get_last_used_operation(transformation_.get()));
    // The candidates are stated from WGS84 to DHDN; the way back runs one
    // inverted, which PROJ names by itself ("DHDN to WGS 84 (4)").
    if (operation && direction == Direction::DhdnToWgs84) {
      operation.reset(proj_coordoperation_create_inverse(context_.get(), operation.get()));
    }
    if (!operation) return std::nullopt;
    return Description(operation.get());
  }

 private:
  std::string Description(PJ* operation) const {
    const char* name = proj_get_name(operation);
    std::string text = name ? name : "an operation without a name";
    PJ_CONTEXT* context = context_.get();
    const int grids = proj_coordoperation_get_grid_used_count(context, operation);
    for (int i = 0; i < grids; ++i) {
      const char* shortName = nullptr;
      const char* fullName = nullptr;
      if (proj_coordoperation_get_grid_used(context, operation, i, &shortName, &fullName, nullptr,
                                            nullptr, nullptr, nullptr, nullptr)) {
        text += ", grid ";
        text += FileName(fullName && *fullName ? fullName : shortName);
      }
    }
    // PROJ gives -1 when the accuracy is not known.
    const double accuracy = proj_coordoperation_get_accuracy(context, operation);
    if (accuracy >= 0) {
      char number[32];
      const auto [end, error] = std::to_chars(number, number + sizeof number, accuracy);
      text += ", accuracy ";
      text.append(number, end);
      text += " m";
    }
    return text;
  }

  // Declared first, so that it outlives the transformation made in it.
  std::unique_ptr<PJ_CONTEXT, ContextDestroyer> context_;
  ObjectHandle transformation_;
};

// Set up when the library is loaded: PROJ reads its database and grid files
// for it, tens of milliseconds that would otherwise fall on the first
// conversion, in the middle of the host's first count.
Transformation theTransformation;

}  // namespace

std::optional<GeographicPoint> Transform(GeographicPoint point, Direction direction) {
  return theTransformation.Apply(point, direction);
}

std::optional<std::string> DescribeOperation(GeographicPoint point, Direction direction) {
  return theTransformation.Describe(point, direction);
}

}  // namespace geodll32
