#include "platform/replace_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>
#include <utility>

namespace velmora {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const fs::path& file) {
  throw FileWriteError(file, SystemErrorText(errno), errno);
}

// The temporaries of the replacements under way, where a signal handler can
// read them: fixed slots, claimed and given back atomically, so that the
// handler needs neither memory nor a lock. A path too long for a slot, or one
// more than the slots hold, is not removed by an interrupt.
class InterruptList {
 public:
  int Remember(const fs::path& temporary) {
    const std::string& text = temporary.native();
    if (text.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlots; ++i) {
      int expected = kFree;
      if (!slots_[i].state.compare_exchange_strong(expected, kFilling)) continue;
      std::memcpy(slots_[i].path, text.c_str(), text.size() + 1);
      slots_[i].state.store(kFilled);
      return i;
    }
    return -1;
  }
  void Forget(int slot) {
    if (slot >= 0) slots_[slot].state.store(kFree);
  }
  void RemoveAll() {
    for (Slot& slot : slots_) {
      if (slot.state.load() == kFilled) ::unlink(slot.path);
    }
  }

 private:
  static constexpr int kSlots = 16;
  static constexpr int kFree = 0, kFilling = 1, kFilled = 2;
  struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX] = {};
  };
  Slot slots_[kSlots];
};

// Constant-initialized, so that a handler never meets it half made.
constinit InterruptList temporaries;

extern "C" void RemoveTemporariesAndEnd(int signalNumber) {
  temporaries.RemoveAll();
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

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
  mode_t createdMode;  // what the umask gives a new file
  int interruptSlot;   // where an interrupt finds it
};

// Creates an empty temporary file named after `target` in the target's
// folder, readable by the owner alone while it is being written. Its name is
// remembered for an interrupt before the file is made, so that no moment
// exists in which it is there and an interrupt would leave it.
Temporary CreateTemporaryBeside(const fs::path& target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path temporary = TemporaryNameBeside(target);
    const int slot = temporaries.Remember(temporary);
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
      const int error = errno;
      temporaries.Forget(slot);
      if (error == EEXIST) continue;
      errno = error;
      Fail(target);
    }
    // Created with 0666, the file shows the mode the umask gives a new file.
    struct stat created {};
    if (::fstat(fd.Get(), &created) != 0 || ::fchmod(fd.Get(), 0600) != 0 || !fd.Close()) {
      const int error = errno;
      ::unlink(temporary.c_str());
      temporaries.Forget(slot);
      errno = error;
      Fail(target);
    }
    return {std::move(temporary), created.st_mode & 07777, slot};
  }
  Fail(target);
}

// Why a target that is there cannot be written into or replaced; nothing for
// a regular file, a character device and a FIFO.
std::optional<std::string> RefusalOf(mode_t type) {
  if (S_ISDIR(type)) return SystemErrorText(EISDIR);
  if (S_ISBLK(type)) return "it is a block device";
  if (S_ISSOCK(type)) return "it is a socket";
  return std::nullopt;
}

// A symbolic link that leads nowhere: replacing it would put a file where it
// points, which may be anywhere, and is most likely a mistake.
void RefuseDanglingLink(const fs::path& target) {
  std::error_code error;
  if (!fs::is_symlink(target, error)) return;
  const fs::path leadsTo = fs::read_symlink(target, error);
  throw FileWriteError(target,
                       "it is a symbolic link to '" + leadsTo.string() + "', which does not exist");
}

// Opened without waiting for a reader: a FIFO that no program reads is
// refused rather than waited on for ever. The writes that follow wait as
// usual, for a reader slower than the writer.
int OpenDevice(const fs::path& target) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0 && errno == ENXIO) throw FileWriteError(target, "it is a FIFO that no program reads");
  if (fd < 0) Fail(target);
  if (const int flags = ::fcntl(fd, F_GETFL);
      flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    Fail(target);
  }
  return fd;
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

// Copies the file `from` into the open `to` to its end.
bool CopyInto(int from, int to) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (!WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(got)))) return false;
  }
}

}  // namespace

FileWriteError::FileWriteError(const fs::path& file, std::string reason, int errorNumber)
    : Exception("The file '" + file.string() + "' could not be written: " + reason),
      reason_(std::move(reason)),
      errorNumber_(errorNumber) {}

FileReplacement::FileReplacement(fs::path target, FileAccess access) : target_(std::move(target)) {
  struct stat old {};
  const bool exists = ::stat(target_.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) Fail(target_);
  if (exists) {
    if (const std::optional<std::string> refusal = RefusalOf(old.st_mode)) {
      throw FileWriteError(target_, *refusal);
    }
  } else {
    RefuseDanglingLink(target_);
  }

  fs::path besideOf;
  if (exists && (S_ISCHR(old.st_mode) || S_ISFIFO(old.st_mode))) {
    device_.emplace(OpenDevice(target_));
    std::error_code error;
    besideOf = fs::temp_directory_path(error) / target_.filename();
    if (error) throw FileWriteError(target_, error.message());
  } else {
    target_ = FileBehind(std::move(target_));
    // A write-protected file stays as it is.
    if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) Fail(target_);
    besideOf = target_;
  }
  Temporary temporary = CreateTemporaryBeside(besideOf);
  temporary_ = std::move(temporary.path);
  interruptSlot_ = temporary.interruptSlot;
  mode_ = access == FileAccess::Private ? 0600
          : exists                      ? old.st_mode & 07777
                                        : temporary.createdMode;
}

FileReplacement::~FileReplacement() {
  if (!committed_) ::unlink(temporary_.c_str());
  temporaries.Forget(interruptSlot_);
}

void FileReplacement::Write(std::string_view contents) {
  FileDescriptor fd(::open(temporary_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (fd.Get() < 0 || !WriteAll(fd.Get(), contents) || !fd.Close()) Fail(target_);
}

void FileReplacement::Flush() {
  if (!device_) {
    FileDescriptor fd(::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0 || ::fchmod(fd.Get(), mode_) != 0 || ::fsync(fd.Get()) != 0 || !fd.Close()) {
      Fail(target_);
    }
  }
  flushed_ = true;
}

void FileReplacement::Commit() {
  if (!flushed_) Flush();
  if (device_) {
    // Gone from the folder before the copy, so that a reader that stops
    // early, and ends this program by SIGPIPE, leaves nothing behind.
    FileDescriptor from(::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC));
    if (from.Get() < 0) Fail(target_);
    ::unlink(temporary_.c_str());
    committed_ = true;
    if (!CopyInto(from.Get(), device_->Get()) || !device_->Close()) Fail(target_);
    return;
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(target_);
  committed_ = true;
  // The rename itself reaches the disk with the folder; a folder that cannot
  // be synced leaves the new file in place all the same.
  SyncFolder(target_.has_parent_path() ? target_.parent_path() : fs::path("."));
}

void ReplaceFile(const fs::path& target, std::string_view contents, FileAccess access) {
  FileReplacement replacement(target, access);
  replacement.Write(contents);
  replacement.Commit();
}

void RemoveTemporariesOnInterrupt() {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (::sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) {
      continue;
    }
    struct sigaction removing {};
    removing.sa_handler = RemoveTemporariesAndEnd;
    sigemptyset(&removing.sa_mask);
    ::sigaction(signalNumber, &removing, nullptr);
  }
}

}  // namespace velmora
