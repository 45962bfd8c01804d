// Background pictures as the user picks them: any file, called a BMP. Loading
// gives a picture or nothing, never a crash or a read past the data.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "map/background.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A file in memory, read through its path as the dialog reads one.
  const int fd = memfd_create("background.bmp", MFD_CLOEXEC);
  if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
  velmora::LoadBackgroundImage("/proc/self/fd/" + std::to_string(fd), 2, 2);
  close(fd);
  return 0;
}
