#include "platform/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>
#include <utility>

#include "platform/file_descriptor.h"

namespace velmora {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const fs::path& file) { throw FileWriteError(file, SystemErrorText(errno)); }

// The file itself when `target` is a symbolic link, so that the link stays.
fs::path FileBehind(fs::path target) {
  std::error_code error;
  if (fs::is_symlink(target, error)) {
    if (fs::path resolved = fs::weakly_canonical(target, error); !error) return resolved;
  }
  return target;
}

// ".~k3J9aQ.map.png" beside "map.png": hidden, plainly not the file itself, and
// ending in the target's own extension.
fs::path TemporaryNameBeside(const fs::path& target) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  std::string name = ".~";
  for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
  return target.parent_path() / (name + "." + target.filename().string());
}

struct Temporary {
  fs::path path;
  mode_t mode;  // the target's mode once it is complete
};

// Creates the temporary file, readable by the owner alone while it is being
// written. A target that exists must be writable: a write-protected file
// stays as it is.
Temporary CreateTemporaryBeside(const fs::path& target, FileAccess access) {
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) Fail(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path temporary = TemporaryNameBeside(target);
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
      if (errno == EEXIST) continue;
      Fail(target);
    }
    // Created with 0666, the file shows the mode the umask gives a new file.
    struct stat created {};
    if (::fstat(fd.Get(), &created) != 0 || ::fchmod(fd.Get(), 0600) != 0 || !fd.Close()) {
      const int error = errno;
      ::unlink(temporary.c_str());
      errno = error;
      Fail(target);
    }
    const mode_t mode = access == FileAccess::Private    ? 0600
                        : exists && S_ISREG(old.st_mode) ? old.st_mode & 07777
                                                         : created.st_mode & 07777;
    return {std::move(temporary), mode};
  }
  Fail(target);
}

void SyncFolder(const fs::path& folder) {
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) ::fsync(fd.Get());
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

FileWriteError::FileWriteError(const fs::path& file, std::string reason)
    : Exception("The file '" + file.string() + "' could not be written: " + reason),
      reason_(std::move(reason)) {}

FileReplacement::FileReplacement(fs::path target, FileAccess access)
    : target_(FileBehind(std::move(target))) {
  Temporary temporary = CreateTemporaryBeside(target_, access);
  temporary_ = std::move(temporary.path);
  mode_ = temporary.mode;
}

FileReplacement::~FileReplacement() {
  if (!committed_) ::unlink(temporary_.c_str());
}

void FileReplacement::Commit() {
  FileDescriptor fd(::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0 || ::fchmod(fd.Get(), mode_) != 0 || ::fsync(fd.Get()) != 0 || !fd.Close() ||
      ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Fail(target_);
  }
  committed_ = true;
  // The rename itself reaches the disk with the folder; a folder that cannot
  // be synced leaves the new file in place all the same.
  SyncFolder(target_.has_parent_path() ? target_.parent_path() : fs::path("."));
}

void ReplaceFile(const fs::path& target, std::string_view contents, FileAccess access) {
  FileReplacement replacement(target, access);
  FileDescriptor fd(::open(replacement.TemporaryPath().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (fd.Get() < 0 || !WriteAll(fd.Get(), contents) || !fd.Close()) Fail(replacement.Target());
  replacement.Commit();
}

}  // namespace velmora
