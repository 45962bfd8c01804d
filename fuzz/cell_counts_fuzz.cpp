// The counts file that velmora-map draws: what velmora-count printed, or any
// file the user passes as one. Each line is taken over or refused with a
// message; nothing else happens.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/cell_counts.h"
#include "grid/cell_list.h"
#include "platform/errors.h"

namespace {

// Quadrants of four sheets, 6508 to 6609.
const velmora::MapState& Map() {
  static const velmora::MapState map = [] {
    velmora::MapState state;
    velmora::BuildCellList({1, 0, velmora::Extent::Read("6508", "6609"), ""}, state);
    return state;
  }();
  return map;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A file in memory, read through its path as the program reads one.
  const int fd = memfd_create("counts.txt", MFD_CLOEXEC);
  if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
  velmora::MapState map = Map();
  try {
    velmora::cli::ReadCellCounts("/proc/self/fd/" + std::to_string(fd), velmora::kGridTypes[1],
                                 "taxa", map);
  } catch (const velmora::Exception&) {
  }
  close(fd);
  return 0;
}
