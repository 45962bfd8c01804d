#pragma once

#include <filesystem>
#include <functional>

#include "demo/demo_options.h"
#include "platform/replace_file.h"

namespace velmora::demo {

struct DemoSummary {
  long long samples = 0;
  long long occurrences = 0;
  long long determinations = 0;
  long long taxonListItems = 0;
};

// How far the writing has got, in percent, each time that changes.
using DemoProgress = std::function<void(int percent)>;

// Writes a SQLite database of the host's tables at `path`. It is built beside
// `path` and replaces whatever is there only when complete; a failure leaves
// the old file as it was. The same options give the same file. `progress`,
// when given, hears the samples written (most of the work) and the indexes
// built, up to 99 %: what remains is to put the file in place.
DemoSummary WriteDemoDatabase(const std::filesystem::path& path, const DemoOptions& options,
                              const DemoProgress& progress = {});

// The same, built in the replacement's temporary file and left for the caller
// to commit, with the files that must appear together with it.
DemoSummary WriteDemoDatabase(FileReplacement& replacement, const DemoOptions& options,
                              const DemoProgress& progress = {});

}  // namespace velmora::demo
