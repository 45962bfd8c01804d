#pragma once

#include "platform/com/interfaces.h"

// The interfaces through which the host talks to an add-in object, as the host
// declares them. Each derives from IDispatch; its own operations follow the
// three IUnknown and the four IDispatch slots in the order given. Every text
// handed out is a fresh BSTR that the host frees.

namespace velmora {

struct IHostAction;
struct IHostActionVtbl {
  com::IDispatchVtbl dispatch;
  // Runs what the add-in's menu entry stands for. On failure the thread's
  // error info says why.
  com::HRESULT (*Execute)(IHostAction* self);
};
struct IHostAction {
  const IHostActionVtbl* vtbl;
};

struct IHostMenuItem;
struct IHostMenuItemVtbl {
  com::IDispatchVtbl dispatch;
  com::HRESULT (*MenuCaption)(IHostMenuItem* self, com::BSTR* caption);
  com::HRESULT (*MenuHint)(IHostMenuItem* self, com::BSTR* hint);
  // Bare file names; the host looks for them itself.
  com::HRESULT (*MenuImageFile)(IHostMenuItem* self, com::BSTR* file);
  com::HRESULT (*MenuDisabledImageFile)(IHostMenuItem* self, com::BSTR* file);
  // The caption of the host's menu that the entry goes under.
  com::HRESULT (*MenuParentName)(IHostMenuItem* self, com::BSTR* parent);
  com::HRESULT (*MenuEnabled)(IHostMenuItem* self, com::VARIANT_BOOL* enabled);
};
struct IHostMenuItem {
  const IHostMenuItemVtbl* vtbl;
};

struct IHostAddinInfo;
struct IHostAddinInfoVtbl {
  com::IDispatchVtbl dispatch;
  com::HRESULT (*AddinName)(IHostAddinInfo* self, com::BSTR* name);
  com::HRESULT (*AddinDescription)(IHostAddinInfo* self, com::BSTR* description);
  com::HRESULT (*AddinImageFile)(IHostAddinInfo* self, com::BSTR* file);
  com::HRESULT (*AddinNotify)(IHostAddinInfo* self, com::LONG value);
};
struct IHostAddinInfo {
  const IHostAddinInfoVtbl* vtbl;
};

inline constexpr com::IID IID_IHostAction{
    0x801EBEAF, 0x91CE, 0x11D3, {0xB5, 0x64, 0x00, 0x50, 0x04, 0xB0, 0xB6, 0x98}};
inline constexpr com::IID IID_IHostMenuItem{
    0x801EBE8F, 0x91CE, 0x11D3, {0xB5, 0x64, 0x00, 0x50, 0x04, 0xB0, 0xB6, 0x98}};
inline constexpr com::IID IID_IHostAddinInfo{
    0x801EBEA7, 0x91CE, 0x11D3, {0xB5, 0x64, 0x00, 0x50, 0x04, 0xB0, 0xB6, 0x98}};

}  // namespace velmora
