#pragma once

#include "platform/WindowServer.h"
#include "platform/sim/machine/Plist.h"

namespace lumora::sim {

// A display preset of the simulated window server: a dictionary node, either in a document the
// window server hands out and never changes (a copied preset), or in one of its own (a mutable
// copy).
class SimPresetDictionary final : public platform::MutablePresetDictionary {
 public:
  // The preset `node` of `document`, which it keeps alive.
  SimPresetDictionary(SharedPlist document, plist_t node);
  // A dictionary of its own.
  explicit SimPresetDictionary(PlistPtr dictionary);

  std::unique_ptr<platform::MutablePresetDictionary> mutableCopy() const override;
  std::optional<double> numberValue(std::string_view key) const override;
  std::optional<std::string> stringValue(std::string_view key) const override;

  void setString(std::string_view key, std::string_view value) override;
  void setDouble(std::string_view key, double value) override;
  void setInteger(std::string_view key, std::int64_t value) override;
  void setData(std::string_view key, std::span<const std::uint8_t> bytes) override;

  plist_t node() const { return node_; }
  const SharedPlist& document() const { return document_; }

 private:
  SharedPlist document_;
  plist_t node_;
};

}  // namespace lumora::sim
