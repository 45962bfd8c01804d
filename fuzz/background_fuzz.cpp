// Background pictures as the user picks them: any file, called a BMP. Loading
// gives a picture or nothing, never a crash or a read past the data.
#include <sys/mman.h>
#include <unistd.h>

#include <QImageReader>
#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "map/background.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A file in memory, read through its path as the dialog reads one.
  const int fd = memfd_create("background.bmp", MFD_CLOEXEC);
  if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  // Large pictures are read as small ones are, only slower: filling gigabytes
  // would leave the fuzzer a few inputs a minute.
  const QSize declared = QImageReader(QString::fromStdString(path), "bmp").size();
  if (std::int64_t{declared.width()} * std::abs(declared.height()) <= 1 << 22) {
    velmora::LoadBackgroundImage(path, 2, 2);
  }
  close(fd);
  return 0;
}
