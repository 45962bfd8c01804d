#include "support/full_file_system.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmora::testing {

FullFileSystem::FullFileSystem(const std::filesystem::path& folder) : folder_(folder) {
  std::filesystem::create_directories(folder_);
  mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID, "size=256k,mode=0700") == 0;
  if (!mounted_) reason_ = std::string("no tmpfs can be mounted here: ") + std::strerror(errno);
}

FullFileSystem::~FullFileSystem() {
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

void FullFileSystem::Fill() const {
  const int fd = ::open((folder_ / "filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  static const char block[4096] = {};
  while (::write(fd, block, sizeof block) > 0) {
  }
  while (::write(fd, block, 1) > 0) {
  }
  ::close(fd);
}

}  // namespace velmora::testing
