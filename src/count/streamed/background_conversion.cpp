#include "count/streamed/background_conversion.h"

#include <utility>

#include "grid/coordinate_conversion.h"
#include "grid/geodll32.h"

namespace velmora {
namespace {

// Points per batch: few hand-overs, and the first codes come soon.
constexpr size_t kBatchPoints = 4096;

}  // namespace

BackgroundConversion::BackgroundConversion(std::string gridSystemCode)
    : gridSystemCode_(std::move(gridSystemCode)),
      filling_(std::make_unique<Batch>()),
      batches_(
          [this](Batch& batch) {
            const std::vector<double>& c = batch.coordinates;
            batch.codes.reserve(c.size() / 2);
            for (size_t i = 0; i < c.size(); i += 2) {
              batch.codes.push_back(CoordinateToCellCode(gridSystemCode_, c[i], c[i + 1]));
            }
          },
          IsGeodeticLibraryBound()) {}

void BackgroundConversion::Add(double latitude, double longitude) {
  filling_->coordinates.push_back(latitude);
  filling_->coordinates.push_back(longitude);
  if (++added_ % kBatchPoints == 0) Finish();
}

void BackgroundConversion::Finish() {
  if (filling_->coordinates.empty()) return;
  batches_.Hand(std::exchange(filling_, std::make_unique<Batch>()));
}

const std::string& BackgroundConversion::Code(size_t point) {
  return batches_.Done(point / kBatchPoints).codes[point % kBatchPoints];
}

}  // namespace velmora
