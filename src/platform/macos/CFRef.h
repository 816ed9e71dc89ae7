#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <utility>

namespace lumora::macos {

// Owns one reference to a Core Foundation object (from a Create or Copy call) and releases it.
template <typename Ref>
class CFRef {
 public:
  CFRef() = default;
  explicit CFRef(Ref owned) : ref_(owned) {}
  CFRef(CFRef&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
  CFRef& operator=(CFRef&& other) noexcept {
    if (this != &other) {
      reset();
      ref_ = std::exchange(other.ref_, nullptr);
    }
    return *this;
  }
  CFRef(const CFRef&) = delete;
  CFRef& operator=(const CFRef&) = delete;
  ~CFRef() { reset(); }

  Ref get() const { return ref_; }
  explicit operator bool() const { return ref_ != nullptr; }
  void reset() {
    if (ref_ != nullptr) CFRelease(ref_);
    ref_ = nullptr;
  }

 private:
  Ref ref_ = nullptr;
};

}  // namespace lumora::macos
