#pragma once

#include <filesystem>

#include "demo_options.h"

namespace velmora::demo {

struct DemoSummary {
  long long samples = 0;
  long long occurrences = 0;
  long long determinations = 0;
  long long taxonListItems = 0;
};

// Writes a SQLite database of the host's tables at `path`. It is built beside
// `path` and replaces whatever is there only when complete; a failure leaves
// the old file as it was. The same options give the same file.
DemoSummary WriteDemoDatabase(const std::filesystem::path& path, const DemoOptions& options);

}  // namespace velmora::demo
