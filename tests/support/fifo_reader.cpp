#include "support/fifo_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#include <utility>

namespace velmora::testing {

FifoReader::FifoReader(const std::filesystem::path& path) {
  if (::mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("no FIFO " + path.string());
  // Both ends are opened here, without waiting: the reading end first, which a
  // FIFO opens at once when asked not to wait, then the writing end, held
  // until Finish() so that the reader sees no end before the writers are done.
  const int readEnd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  held_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  ::fcntl(readEnd, F_SETFL, 0);
  read_ = std::async(std::launch::async, [readEnd] {
    std::string bytes;
    char buffer[4096];
    for (ssize_t got; (got = ::read(readEnd, buffer, sizeof buffer)) > 0;)
      bytes.append(buffer, got);
    ::close(readEnd);
    return bytes;
  });
}

FifoReader::~FifoReader() {
  if (held_ >= 0) ::close(held_);
}

std::string FifoReader::Finish() {
  if (held_ >= 0) ::close(std::exchange(held_, -1));
  return read_.get();
}

}  // namespace velmora::testing
