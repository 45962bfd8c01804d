#include "demo/demo_keys.h"

namespace velmora::demo {

std::string KeySequence::Next() {
  static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string key = siteId_ + "00000000";
  long long value = ++counter_;
  for (std::size_t i = key.size(); value > 0 && i > siteId_.size(); --i, value /= 36) {
    key[i - 1] = kDigits[value % 36];
  }
  return key;
}

}  // namespace velmora::demo
