#include "platform/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

namespace velmora {

FileReadError::FileReadError(const std::filesystem::path& file, std::string reason, bool missing)
    : Exception("The file '" + file.string() + "' could not be read: " + reason),
      reason_(std::move(reason)),
      missing_(missing) {}

namespace {

// Why a file of this type is not read; nothing for a regular file.
std::optional<std::string> RefusalOf(mode_t type) {
  if (S_ISREG(type)) return std::nullopt;
  return S_ISDIR(type) ? "it is a folder" : "it is not a regular file";
}

}  // namespace

FileDescriptor OpenRegularFile(const std::filesystem::path& file) {
  // Without O_NONBLOCK the open itself would wait for a FIFO's writer.
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat status {};
  if (fd.Get() < 0) {
    // A socket cannot be opened at all ("No such device or address").
    const int error = errno;
    if (::stat(file.c_str(), &status) == 0 && RefusalOf(status.st_mode)) {
      throw FileReadError(file, *RefusalOf(status.st_mode));
    }
    throw FileReadError(file, SystemErrorText(error), error == ENOENT || error == ENOTDIR);
  }
  if (::fstat(fd.Get(), &status) != 0) throw FileReadError(file, SystemErrorText(errno));
  if (const std::optional<std::string> refusal = RefusalOf(status.st_mode)) {
    throw FileReadError(file, *refusal);
  }
  if (const int flags = ::fcntl(fd.Get(), F_GETFL);
      flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    throw FileReadError(file, SystemErrorText(errno));
  }
  return fd;
}

std::string ReadRegularFile(const std::filesystem::path& file) {
  const FileDescriptor fd = OpenRegularFile(file);
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got == 0) return text;
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileReadError(file, SystemErrorText(errno));
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace velmora
