// Any text: when it is accepted as read whole, the property-list library reads it, and what the
// library writes back is accepted too and reads back as the same values.

#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/sim/machine/Plist.h"
#include "platform/sim/machine/PlistText.h"

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (sim::whyNotReadWhole(text)) return 0;
  const sim::PlistPtr parsed = sim::fromXml(text);
  if (!parsed) return 0;  // refused by the library: kept aside, nothing is lost
  const std::string written = sim::toXml(parsed.get());
  if (sim::whyNotReadWhole(written)) fuzz::fail("what the library writes is not read whole");
  const sim::PlistPtr again = sim::fromXml(written);
  if (!sim::equalValues(parsed.get(), again.get())) {
    fuzz::fail("the values change on the way back");
  }
  return 0;
}
