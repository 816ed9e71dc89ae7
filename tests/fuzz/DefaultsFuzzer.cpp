// Any defaults.plist: reading every stored key never crashes, and after the app stores a value
// the file reads back whole and usable, with the value in it.

#include <cstdint>

#include "FuzzSupport.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/machine/PlistText.h"

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::emptyScratchFolder();
  const auto path = fuzz::scratchFolder() / "defaults.plist";
  fuzz::writeBytes(path, data, size);

  fuzz::CountingConsole console;
  sim::SimUserDefaults defaults(path, console);
  for (const char* key : {"autoEnableXDR", "launchAtLogin", "lastNitsValue", "simpleIcon",
                          "deepBlacksEnabled", "deepBlacksLevel", "deepBlacksWarningShown"}) {
    defaults.boolForKey(key);
    defaults.integerForKey(key);
    defaults.doubleForKey(key);
  }
  defaults.setDouble("lastNitsValue", 1250.0);

  const std::string saved = fuzz::readBytes(path);
  if (sim::whyNotReadWhole(saved)) fuzz::fail("the saved file cannot be read whole");
  fuzz::CountingConsole later;
  sim::SimUserDefaults again(path, later);
  if (again.doubleForKey("lastNitsValue") != 1250.0) fuzz::fail("the stored value is lost");
  if (later.errors != 0) fuzz::fail("the saved file is not usable");
  return 0;
}
