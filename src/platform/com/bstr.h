#pragma once

#include <string>
#include <string_view>

#include "platform/com/types.h"

// BSTR: a length-prefixed UTF-16 string as Windows lays it out. The 32-bit byte
// length stands just before the characters, a null character follows them, and
// the pointer handed around points at the first character. A BSTR handed out by
// an operation is freed by its caller with SysFreeString.
namespace velmora::com {

extern "C" {
VELMORA_COM_API BSTR SysAllocString(const OLECHAR* text);
VELMORA_COM_API BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
VELMORA_COM_API void SysFreeString(BSTR text);
VELMORA_COM_API UINT SysStringLen(BSTR text);
}

// The program works in UTF-8; COM strings are UTF-16. Invalid UTF-8 bytes and
// unpaired surrogates become U+FFFD.
VELMORA_COM_API std::u16string Utf8ToUtf16(std::string_view utf8);
VELMORA_COM_API std::string Utf16ToUtf8(std::u16string_view utf16);

// Owns one BSTR and frees it.
class VELMORA_COM_API BStr {
 public:
  BStr() = default;
  explicit BStr(std::string_view utf8);
  ~BStr() { SysFreeString(text_); }
  BStr(BStr&& other) noexcept : text_(other.Detach()) {}
  BStr& operator=(BStr&& other) noexcept;
  BStr(const BStr&) = delete;
  BStr& operator=(const BStr&) = delete;

  BSTR Get() const { return text_; }
  // For an output parameter: frees the current text and receives the new one.
  BSTR* Out();
  // Hands the text to a caller that will free it.
  BSTR Detach();
  std::u16string_view View() const { return {text_, SysStringLen(text_)}; }
  std::string Utf8() const { return Utf16ToUtf8(View()); }

 private:
  BSTR text_ = nullptr;
};

}  // namespace velmora::com
