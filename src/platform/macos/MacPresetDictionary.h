#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include "platform/WindowServer.h"
#include "platform/macos/CFRef.h"

namespace lumora::macos {

// A preset dictionary of the window server: a CFDictionary, so that every value keeps its exact
// Core Foundation type.
class MacPresetDictionary final : public platform::MutablePresetDictionary {
 public:
  // Takes over an immutable dictionary (from a Copy call).
  explicit MacPresetDictionary(CFRef<CFDictionaryRef> dictionary);
  // Takes over a mutable one.
  explicit MacPresetDictionary(CFRef<CFMutableDictionaryRef> dictionary);

  std::unique_ptr<platform::MutablePresetDictionary> mutableCopy() const override;
  std::optional<double> numberValue(std::string_view key) const override;
  std::optional<std::string> stringValue(std::string_view key) const override;

  void setString(std::string_view key, std::string_view value) override;
  void setDouble(std::string_view key, double value) override;
  void setInteger(std::string_view key, std::int64_t value) override;
  void setData(std::string_view key, std::span<const std::uint8_t> bytes) override;

  CFDictionaryRef dictionary() const;

 private:
  void set(std::string_view key, CFTypeRef value);

  CFRef<CFDictionaryRef> immutable_;
  CFRef<CFMutableDictionaryRef> mutable_;
};

}  // namespace lumora::macos
