#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

// A small file system of its own (a tmpfs) mounted at `folder`, which
// Fill() makes full, as a full disk is: a write fails with "No space left on
// device". Mounting needs root; where the system does not allow it,
// Mounted() is false and Reason() says why. Unmounted when the object goes.
class FullFileSystem {
 public:
  explicit FullFileSystem(const std::filesystem::path& folder);
  ~FullFileSystem();
  FullFileSystem(const FullFileSystem&) = delete;
  FullFileSystem& operator=(const FullFileSystem&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Reason() const { return reason_; }

  // Takes up every byte left, with a file of its own in the folder.
  void Fill() const;

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
  std::string reason_;
};

}  // namespace velmora::testing
