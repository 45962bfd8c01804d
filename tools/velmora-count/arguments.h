#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "grid/cell_list.h"
#include "platform/errors.h"

namespace velmora::cli {

// Bad command-line input: the message goes to standard error, the exit status is 2.
class UsageError : public Exception {
 public:
  using Exception::Exception;
};

using Arguments = std::span<const std::string_view>;

// The grid type item for an item index "0" to "4" or a grid type name.
int ParseGridType(std::string_view text);

// Checks the two corner sheets and builds the map state of the extent.
MapState BuildExtent(std::string_view northWest, std::string_view southEast, int gridTypeItem,
                     int gridSystemItem);

void ExpectArgumentCount(Arguments args, size_t count, std::string_view usage);

// Runs a command and turns what it throws into a message on standard error,
// prefixed with the program's name: exit status 2 for a usage error, 1 for any
// other failure.
int RunReportingErrors(std::string_view program, const std::function<int()>& command);

}  // namespace velmora::cli
