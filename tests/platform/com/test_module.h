#pragma once

#include "platform/com/interfaces.h"

// The interface of the small module the tests load through the registry.

namespace velmora::com::testing {

struct ICounter;
struct ICounterVtbl {
  IUnknownVtbl unknown;
  // Adds one to the object's count and gives the new count.
  HRESULT (*Increment)(ICounter* self, LONG* count);
  // Fails with E_FAIL and leaves error info "Counter overflow" from "Velmora.TestCounter".
  HRESULT (*Fail)(ICounter* self);
};
struct ICounter {
  const ICounterVtbl* vtbl;
};

inline constexpr IID IID_ICounter{
    0x2C1A8E40, 0x6F0B, 0x4C1E, {0x9A, 0x55, 0x31, 0x7D, 0x0E, 0x84, 0xB2, 0x01}};
// Made by the module.
inline constexpr CLSID CLSID_TestCounter{
    0x2C1A8E41, 0x6F0B, 0x4C1E, {0x9A, 0x55, 0x31, 0x7D, 0x0E, 0x84, 0xB2, 0x01}};
// The module hands out a factory for it that refuses to make objects.
inline constexpr CLSID CLSID_RefusedCounter{
    0x2C1A8E42, 0x6F0B, 0x4C1E, {0x9A, 0x55, 0x31, 0x7D, 0x0E, 0x84, 0xB2, 0x01}};

// The module claims success for it but hands out no factory.
inline constexpr CLSID CLSID_MissingFactory{
    0x2C1A8E43, 0x6F0B, 0x4C1E, {0x9A, 0x55, 0x31, 0x7D, 0x0E, 0x84, 0xB2, 0x01}};

// Exported by the module besides DllGetClassObject: the number of its objects alive.
using LiveObjectsFunction = LONG (*)();
inline constexpr const char* kLiveObjects = "TestModuleLiveObjects";

}  // namespace velmora::com::testing
