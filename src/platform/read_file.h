#pragma once

#include <filesystem>
#include <string>

#include "platform/errors.h"
#include "platform/file_descriptor.h"

namespace velmora {

// A file could not be read. The message names the file and the cause ("The
// file 'PATH' could not be read: it is not a regular file"); callers with a
// wording of their own use Reason() for the cause alone.
class FileReadError : public Exception {
 public:
  FileReadError(const std::filesystem::path& file, std::string reason, bool missing = false);
  const std::string& Reason() const { return reason_; }
  // There is no such file (or no such folder on its path), which some readers
  // take for an empty one.
  bool Missing() const { return missing_; }

 private:
  std::string reason_;
  bool missing_;
};

// Opens a regular file to read. Anything else is refused without waiting on
// it, for a FIFO would wait for a writer and a device might never end: "it is
// a folder", "it is not a regular file", or the system's reason. Throws
// FileReadError.
FileDescriptor OpenRegularFile(const std::filesystem::path& file);

// The whole content of a regular file, opened as OpenRegularFile opens it.
// Throws FileReadError.
std::string ReadRegularFile(const std::filesystem::path& file);

}  // namespace velmora
