#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "count/streamed/background_batches.h"

namespace velmora {

// Converts coordinates to cell codes (CoordinateToCellCode) in the order they
// are handed in. While the geodetic library is bound it converts on a thread
// of its own, so that the conversion runs on the second core beside the
// database's work, and only that thread calls the library meanwhile. Without
// the library each conversion shows the fallbacks' messages, which belong to
// the calling thread: then the points are converted there.
class BackgroundConversion {
 public:
  explicit BackgroundConversion(std::string gridSystemCode);

  // Queues a point; it is the Size()-th before the call.
  void Add(double latitude, double longitude);
  // Hands over the points still held back; call once after the last Add.
  void Finish();
  size_t Size() const { return added_; }
  // The code of a point, waiting until it is converted. An error of the
  // conversion passes out here.
  const std::string& Code(size_t point);

 private:
  struct Batch {
    std::vector<double> coordinates;  // latitude, longitude, one point after the other
    std::vector<std::string> codes;
  };

  const std::string gridSystemCode_;
  std::unique_ptr<Batch> filling_;
  size_t added_ = 0;
  BackgroundBatches<Batch> batches_;
};

}  // namespace velmora
