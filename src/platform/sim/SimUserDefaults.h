#pragma once

#include <filesystem>

#include "platform/Console.h"
#include "platform/UserDefaults.h"
#include "platform/sim/machine/PlistFile.h"

namespace lumora::sim {

// The user defaults of the simulated Mac: a flat property-list dictionary of the stored keys, each
// with its own type (<true/> or <false/>, <integer>, <real>). Reads convert between types as
// NSUserDefaults does; writes store the exact type asked for.
class SimUserDefaults final : public platform::UserDefaults {
 public:
  SimUserDefaults(std::filesystem::path file, platform::Console& console);

  // See PlistFile::followPasses; flush() ends each pass.
  void followPasses(const std::atomic<std::uint64_t>& passNumber) {
    file_.followPasses(passNumber);
  }
  void flush() { file_.flush(); }

  bool boolForKey(std::string_view key) override;
  std::int64_t integerForKey(std::string_view key) override;
  double doubleForKey(std::string_view key) override;
  bool hasValueForKey(std::string_view key) override;
  std::optional<std::string> stringForKey(std::string_view key) override;

  void setBool(std::string_view key, bool value) override;
  void setInteger(std::string_view key, std::int64_t value) override;
  void setDouble(std::string_view key, double value) override;

  const std::filesystem::path& path() const { return file_.path(); }
  const PlistFile& file() const { return file_; }

 private:
  plist_t valueFor(std::string_view key);
  void store(std::string_view key, PlistPtr value);

  PlistFile file_;
};

}  // namespace lumora::sim
