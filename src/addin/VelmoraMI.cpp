#include "addin/VelmoraMI.h"

#include <QApplication>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "addin/VersionInfo.h"
#include "addin/addin_path.h"
#include "addin/host_database.h"
#include "addin/safe_call.h"
#include "map/fonts.h"
#include "platform/com/bstr.h"
#include "platform/errors.h"
#include "wizard/lifecycle.h"

namespace velmora {
namespace {

using namespace velmora::com;

std::atomic<int> liveObjects{0};

// Hands out a fresh text that the caller frees.
HRESULT ReturnText(REFIID iid, BSTR* result, const std::function<std::string()>& value) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return SafeCall(iid, [&] {
    *result = BStr(value()).Detach();
    if (*result == nullptr) throw std::bad_alloc();
    return S_OK;
  });
}

HRESULT ReturnFixed(REFIID iid, BSTR* result, const char* value) {
  return ReturnText(iid, result, [value] { return std::string(value); });
}

// Creates the wizard without an owner, shows it until the user closes it and
// destroys it, whatever showing it raised.
void RunWizard() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    throw Exception("The wizard needs the host's application object");
  }
  static std::once_flag fontsRegistered;
  std::call_once(fontsRegistered, RegisterFonts);

  std::unique_ptr<TdlgMTBWizard> wizard = CreateWizard(std::make_unique<HostDatabase>());
  try {
    wizard->exec();
  } catch (...) {
    // The error of showing is the one to report.
    try {
      DestroyWizard(std::move(wizard));
    } catch (...) {
    }
    throw;
  }
  DestroyWizard(std::move(wizard));
}

std::string AddinDescriptionText() {
  return "Velmora\r\nVersion " + FileVersionText(AddinModulePath(ReadAddinPath()));
}

struct HostActionSlots {
  static HRESULT Execute(IHostAction*) {
    return SafeCall(IID_IHostAction, [] {
      RunWizard();
      return S_OK;
    });
  }
  static constexpr IHostActionVtbl kTable{DispatchSlots<IHostAction>::kTable, &Execute};
};

struct HostMenuItemSlots {
  static HRESULT MenuCaption(IHostMenuItem*, BSTR* caption) {
    return ReturnFixed(IID_IHostMenuItem, caption, "MTB Raster auszählen");
  }
  static HRESULT MenuHint(IHostMenuItem*, BSTR* hint) {
    return ReturnFixed(IID_IHostMenuItem, hint, "Hinweis");
  }
  static HRESULT MenuImageFile(IHostMenuItem*, BSTR* file) {
    return ReturnFixed(IID_IHostMenuItem, file, "Velmora.bmp");
  }
  static HRESULT MenuDisabledImageFile(IHostMenuItem*, BSTR* file) {
    return ReturnFixed(IID_IHostMenuItem, file, "VelmoraDisabled.bmp");
  }
  static HRESULT MenuParentName(IHostMenuItem*, BSTR* parent) {
    return ReturnFixed(IID_IHostMenuItem, parent, "Reports");
  }
  static HRESULT MenuEnabled(IHostMenuItem*, VARIANT_BOOL* enabled) {
    if (enabled == nullptr) return E_POINTER;
    *enabled = VARIANT_TRUE;
    return S_OK;
  }
  static constexpr IHostMenuItemVtbl kTable{DispatchSlots<IHostMenuItem>::kTable,
                                            &MenuCaption,
                                            &MenuHint,
                                            &MenuImageFile,
                                            &MenuDisabledImageFile,
                                            &MenuParentName,
                                            &MenuEnabled};
};

struct HostAddinInfoSlots {
  static HRESULT AddinName(IHostAddinInfo*, BSTR* name) {
    return ReturnFixed(IID_IHostAddinInfo, name, "Velmora Addin");
  }
  static HRESULT AddinDescription(IHostAddinInfo*, BSTR* description) {
    return ReturnText(IID_IHostAddinInfo, description, AddinDescriptionText);
  }
  static HRESULT AddinImageFile(IHostAddinInfo*, BSTR* file) {
    return ReturnFixed(IID_IHostAddinInfo, file, "Velmora.bmp");
  }
  // What the host tells its add-ins is of no concern to this one.
  static HRESULT AddinNotify(IHostAddinInfo*, LONG) { return S_OK; }
  static constexpr IHostAddinInfoVtbl kTable{DispatchSlots<IHostAddinInfo>::kTable, &AddinName,
                                             &AddinDescription, &AddinImageFile, &AddinNotify};
};

constexpr IVelmoraMIVtbl kVelmoraMITable{DispatchSlots<IVelmoraMI>::kTable};

bool IsOwnInterface(REFIID iid) {
  return iid == IID_IHostAction || iid == IID_IHostMenuItem || iid == IID_IHostAddinInfo ||
         iid == IID_IVelmoraMI;
}

struct SupportErrorInfoSlots {
  // The add-in's own operations leave error info when they fail.
  static HRESULT InterfaceSupportsErrorInfo(ISupportErrorInfo*, REFIID iid) {
    return IsOwnInterface(iid) ? S_OK : S_FALSE;
  }
  static constexpr ISupportErrorInfoVtbl kTable{UnknownSlots<ISupportErrorInfo>::kTable,
                                                &InterfaceSupportsErrorInfo};
};

struct ProvideClassInfoSlots {
  // Type information is not offered by this platform.
  static HRESULT GetClassInfo(IProvideClassInfo*, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    return E_NOTIMPL;
  }
  static constexpr IProvideClassInfoVtbl kTable{UnknownSlots<IProvideClassInfo>::kTable,
                                                &GetClassInfo};
};

}  // namespace

TVelmoraMI::TVelmoraMI()
    : hostAction_(&HostActionSlots::kTable, this),
      hostMenuItem_(&HostMenuItemSlots::kTable, this),
      hostAddinInfo_(&HostAddinInfoSlots::kTable, this),
      velmoraMI_(&kVelmoraMITable, this),
      supportErrorInfo_(&SupportErrorInfoSlots::kTable, this),
      provideClassInfo_(&ProvideClassInfoSlots::kTable, this) {
  ++liveObjects;
}

TVelmoraMI::~TVelmoraMI() { --liveObjects; }

int TVelmoraMI::Count() { return liveObjects; }

void* TVelmoraMI::FindInterface(REFIID iid) {
  // One IUnknown for the object's identity; IDispatch is the class's default
  // interface.
  if (iid == IID_IUnknown || iid == IID_IHostAction) return &hostAction_;
  if (iid == IID_IHostMenuItem) return &hostMenuItem_;
  if (iid == IID_IHostAddinInfo) return &hostAddinInfo_;
  if (iid == IID_IDispatch || iid == IID_IVelmoraMI) return &velmoraMI_;
  if (iid == IID_ISupportErrorInfo) return &supportErrorInfo_;
  if (iid == IID_IProvideClassInfo) return &provideClassInfo_;
  return nullptr;
}

}  // namespace velmora
