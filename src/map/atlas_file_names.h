#pragma once

#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velmora {

// Names for the files of an atlas, made from taxon and group names: safe on every file system
// and unique within one atlas, also where the file system ignores case.
class AtlasFileNames {
 public:
  // A file name stem (no extension) for `name`, not given out before (case-insensitively).
  std::string Take(std::string_view name);

 private:
  // The stems given out, lower-cased.
  std::set<std::string> taken_;
  // Per lower-cased stem, the number its next duplicate tries first: names that all come out
  // alike (every name in a script without Latin letters becomes "taxon") would otherwise try
  // every number given out before them again.
  std::unordered_map<std::string, int> nextNumber_;
};

}  // namespace velmora
