#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/errors.h"
#include "platform/file_descriptor.h"

namespace velmora {

// A file could not be written. The message names the file and the cause
// ("The file 'PATH' could not be written: No space left on device"); callers
// with a wording of their own use Reason() for the cause alone, or
// ErrorNumber(), the system's error number of a cause the system reported
// (0 for a cause of the program's own), to word it in their language.
class FileWriteError : public Exception {
 public:
  FileWriteError(const std::filesystem::path& file, std::string reason, int errorNumber = 0);
  const std::string& Reason() const { return reason_; }
  int ErrorNumber() const { return errorNumber_; }

 private:
  std::string reason_;
  int errorNumber_;
};

// Who may read a file once it is in place.
enum class FileAccess {
  // The mode of the file it replaces; a new file gets the usual creation mode
  // (0666 less the umask).
  Usual,
  // The owner alone (0600), for files that hold connection strings.
  Private,
};

// A new version of `target` being written: an empty temporary file beside the
// target (in the same folder, so that the rename is atomic), which Commit()
// flushes to disk and renames over the target. Until then the target is
// untouched; the temporary is removed again when the object goes without a
// Commit(), so a failure leaves the old file as it was and nothing beside it.
// A target that is there but write-protected is refused ("Permission denied").
// For writers that need a path rather than bytes: a database being built, a
// picture saved by a library.
//
// A character device or a FIFO at the target (a terminal, /dev/stdout, a pipe
// that another program reads) is no file to replace: its node stays, and
// Commit() writes the finished temporary into it; that temporary lies in the
// system's temporary folder. A FIFO that no program reads, a block device, a
// socket and a symbolic link that leads nowhere are refused.
class FileReplacement {
 public:
  explicit FileReplacement(std::filesystem::path target, FileAccess access = FileAccess::Usual);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Where the writer writes. It has the target's extension, so that writers
  // which choose their format by it choose the target's.
  const std::filesystem::path& TemporaryPath() const { return temporary_; }
  const std::filesystem::path& Target() const { return target_; }

  // Makes the temporary file hold exactly `contents`.
  void Write(std::string_view contents);

  // Flushes the temporary file to disk, where a full disk shows at the
  // latest, and leaves the target untouched. Files that must appear together
  // are all flushed before the first is committed.
  void Flush();

  // Flushes the temporary file (unless Flush() did) and renames it over the
  // target, or writes it into the device. Throws FileWriteError naming the
  // target when that fails.
  void Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  unsigned mode_ = 0;                     // what the file gets at Commit(), as FileAccess asks
  std::optional<FileDescriptor> device_;  // the device or FIFO written into
  int interruptSlot_ = -1;                // where an interrupt finds the temporary
  bool flushed_ = false;
  bool committed_ = false;
};

// Replaces `target` with `contents` through a FileReplacement: either the old
// file stays as it was or the new one is complete. Throws FileWriteError.
void ReplaceFile(const std::filesystem::path& target, std::string_view contents,
                 FileAccess access = FileAccess::Usual);

// From now on SIGINT, SIGTERM and SIGHUP remove the temporary files of the
// replacements under way before they end the program as they would have; for
// programs that write for long. A signal that has a handler or is ignored
// keeps it.
void RemoveTemporariesOnInterrupt();

}  // namespace velmora
