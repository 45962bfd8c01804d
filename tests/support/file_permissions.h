#pragma once

#include <linux/capability.h>

namespace velmora::testing {

// While it lives, this thread lacks root's power to read and write any file,
// so that a file's permissions stop it as they stop everybody else. Tests run
// as root on CI; other users have no such power to lose.
class WithoutOverridingPermissions {
 public:
  WithoutOverridingPermissions();
  ~WithoutOverridingPermissions();
  WithoutOverridingPermissions(const WithoutOverridingPermissions&) = delete;
  WithoutOverridingPermissions& operator=(const WithoutOverridingPermissions&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2] = {};
};

}  // namespace velmora::testing
