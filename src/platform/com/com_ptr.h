#pragma once

#include <utility>

#include "platform/com/interfaces.h"

namespace velmora::com {

// Owns one reference to a COM interface and releases it.
template <class Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(Interface* adopted) : object_(adopted) {}
  ComPtr(const ComPtr& other) : object_(other.object_) {
    if (object_ != nullptr) AddRef(object_);
  }
  ComPtr(ComPtr&& other) noexcept : object_(other.Detach()) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  Interface* Get() const { return object_; }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  void Reset() {
    if (Interface* old = std::exchange(object_, nullptr)) Release(old);
  }
  Interface* Detach() { return std::exchange(object_, nullptr); }

  // For an output parameter: releases the current reference and receives a new one.
  Interface** Out() {
    Reset();
    return &object_;
  }
  void** OutVoid() { return reinterpret_cast<void**>(Out()); }

 private:
  Interface* object_ = nullptr;
};

}  // namespace velmora::com
