#include "platform/com/error_info.h"

#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/object.h"

namespace velmora::com {
namespace {

class ErrorInfo : public ComObject {
 public:
  ErrorInfo(REFGUID iid, std::string_view source, std::string_view description)
      : iid_(iid), source_(Utf8ToUtf16(source)), description_(Utf8ToUtf16(description)) {}

  IErrorInfo* Interface() { return &errorInfo_; }

 protected:
  void* FindInterface(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IErrorInfo) return &errorInfo_;
    return nullptr;
  }

 private:
  static HRESULT CopyText(const std::u16string& text, BSTR* result) {
    if (result == nullptr) return E_POINTER;
    *result = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *result == nullptr ? E_OUTOFMEMORY : S_OK;
  }
  static HRESULT GetGUID(IErrorInfo* self, GUID* guid) {
    if (guid == nullptr) return E_POINTER;
    *guid = ObjectOf<ErrorInfo>(self).iid_;
    return S_OK;
  }
  static HRESULT GetSource(IErrorInfo* self, BSTR* source) {
    return CopyText(ObjectOf<ErrorInfo>(self).source_, source);
  }
  static HRESULT GetDescription(IErrorInfo* self, BSTR* description) {
    return CopyText(ObjectOf<ErrorInfo>(self).description_, description);
  }
  static HRESULT GetHelpFile(IErrorInfo*, BSTR* helpFile) { return CopyText({}, helpFile); }
  static HRESULT GetHelpContext(IErrorInfo*, DWORD* helpContext) {
    if (helpContext == nullptr) return E_POINTER;
    *helpContext = 0;
    return S_OK;
  }

  static constexpr IErrorInfoVtbl kTable{UnknownSlots<IErrorInfo>::kTable,
                                         &GetGUID,
                                         &GetSource,
                                         &GetDescription,
                                         &GetHelpFile,
                                         &GetHelpContext};

  GUID iid_;
  std::u16string source_;
  std::u16string description_;
  InterfaceSlot<IErrorInfo> errorInfo_{&kTable, this};
};

ComPtr<IErrorInfo>& ThreadErrorInfo() {
  thread_local ComPtr<IErrorInfo> info;
  return info;
}

std::string TextOf(HRESULT (*getter)(IErrorInfo*, BSTR*), IErrorInfo* info) {
  BStr text;
  return SUCCEEDED(getter(info, text.Out())) ? text.Utf8() : std::string();
}

}  // namespace

extern "C" {

HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info) {
  if (reserved != 0) return E_INVALIDARG;
  if (info != nullptr) AddRef(info);
  ThreadErrorInfo() = ComPtr<IErrorInfo>(info);
  return S_OK;
}

HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (reserved != 0) return E_INVALIDARG;
  *info = ThreadErrorInfo().Detach();
  return *info == nullptr ? S_FALSE : S_OK;
}

}  // extern "C"

IErrorInfo* CreateErrorInfo(REFGUID iid, std::string_view source, std::string_view description) {
  return NewComObject<ErrorInfo>(iid, source, description)->Interface();
}

void SetErrorDescription(REFGUID iid, std::string_view source, std::string_view description) {
  ComPtr<IErrorInfo> info(CreateErrorInfo(iid, source, description));
  SetErrorInfo(0, info.Get());
}

std::optional<ErrorDescription> TakeErrorDescription() {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Out()) != S_OK) return std::nullopt;
  ErrorDescription description;
  if (FAILED(info->vtbl->GetGUID(info.Get(), &description.iid))) description.iid = GUID_NULL;
  description.source = TextOf(info->vtbl->GetSource, info.Get());
  description.description = TextOf(info->vtbl->GetDescription, info.Get());
  return description;
}

}  // namespace velmora::com
