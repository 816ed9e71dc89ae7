#pragma once

#include "platform/WindowServer.h"
#include "platform/sim/machine/Plist.h"

namespace lumora::sim {

// A display preset of the simulated window server: a property-list dictionary.
class SimPresetDictionary final : public platform::MutablePresetDictionary {
 public:
  explicit SimPresetDictionary(PlistPtr dictionary);

  std::unique_ptr<platform::MutablePresetDictionary> mutableCopy() const override;
  std::optional<double> numberValue(std::string_view key) const override;

  void setString(std::string_view key, std::string_view value) override;
  void setDouble(std::string_view key, double value) override;
  void setInteger(std::string_view key, std::int64_t value) override;
  void setData(std::string_view key, std::span<const std::uint8_t> bytes) override;

  plist_t node() const { return dictionary_.get(); }

 private:
  PlistPtr dictionary_;
};

}  // namespace lumora::sim
