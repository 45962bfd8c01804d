#include "support/file_permissions.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace velmora::testing {

// Capabilities belong to the thread; the effective set may always be lowered
// and raised again within the permitted one.
WithoutOverridingPermissions::WithoutOverridingPermissions() {
  syscall(SYS_capget, &header_, saved_);
  __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
  reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
  syscall(SYS_capset, &header_, reduced);
}

WithoutOverridingPermissions::~WithoutOverridingPermissions() {
  syscall(SYS_capset, &header_, saved_);
}

}  // namespace velmora::testing
