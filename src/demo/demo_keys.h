#pragma once

#include <string>

namespace velmora::demo {

// The host's keys: CHAR(16), the 8-character id of the site that made the
// record followed by an 8-character counter in the digits 0-9A-Z.
class KeySequence {
 public:
  explicit KeySequence(std::string siteId) : siteId_(std::move(siteId)) {}
  std::string Next();

 private:
  std::string siteId_;
  long long counter_ = 0;
};

}  // namespace velmora::demo
