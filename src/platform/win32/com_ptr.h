#pragma once
// Holds one COM interface pointer and releases it on every path.

#include <unknwn.h>

namespace upd::platform::win32 {

template <class Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* operator->() const { return p_; }
  Interface* Get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For the out-parameter of CoCreateInstance and QueryInterface.
  void** Out() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  Interface* p_ = nullptr;
};

}  // namespace upd::platform::win32
