#pragma once

namespace velmora {

// Owns a file descriptor of the operating system and closes it when it goes.
// A negative descriptor (a failed open) owns nothing.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept;

  int Get() const { return fd_; }
  // Closes it now and reports what close() says, which is where some file
  // systems report a failed write.
  bool Close();

 private:
  int fd_;
};

}  // namespace velmora
