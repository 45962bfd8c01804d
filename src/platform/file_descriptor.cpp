#include "platform/file_descriptor.h"

#include <unistd.h>

#include <utility>

namespace velmora {

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileDescriptor::Close() { return ::close(std::exchange(fd_, -1)) == 0; }

}  // namespace velmora
