#pragma once

#include "addin/Velmora_TLB.h"
#include "host_interfaces/host_addin.h"
#include "platform/com/object.h"

namespace velmora {

// The add-in object the host talks to. It has no state: every operation
// computes its answer afresh. Besides the automation plumbing (IUnknown,
// IDispatch, ISupportErrorInfo, IProvideClassInfo) it offers, in this order,
// IHostAction, IHostMenuItem, IHostAddinInfo and its own IVelmoraMI.
class TVelmoraMI final : public com::ComObject {
 public:
  TVelmoraMI();
  ~TVelmoraMI() override;

  // How many objects of the class live in the process, for DllCanUnloadNow.
  static int Count();

 protected:
  void* FindInterface(com::REFIID iid) override;

 private:
  com::InterfaceSlot<IHostAction> hostAction_;
  com::InterfaceSlot<IHostMenuItem> hostMenuItem_;
  com::InterfaceSlot<IHostAddinInfo> hostAddinInfo_;
  com::InterfaceSlot<IVelmoraMI> velmoraMI_;
  com::InterfaceSlot<com::ISupportErrorInfo> supportErrorInfo_;
  com::InterfaceSlot<com::IProvideClassInfo> provideClassInfo_;
};

}  // namespace velmora
