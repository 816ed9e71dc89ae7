// Any display.plist: reading it never crashes, and whatever the app saves after reading it reads
// back whole and usable, without a word on standard error.

#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "platform/sim/machine/PlistText.h"
#include "platform/sim/machine/SimDisplayState.h"

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::emptyScratchFolder();
  const auto path = fuzz::scratchFolder() / "display.plist";
  fuzz::writeBytes(path, data, size);

  fuzz::CountingConsole console;
  sim::SimDisplayState state(path, console);
  const platform::DisplayID main = state.mainDisplayID();
  state.mainScreen();
  state.activePresetIndex(main);
  state.copyPreset(main, 0);
  state.transferTables(main);
  const auto snapshot = state.currentSnapshot();
  for (const auto& display : snapshot->displays) {
    if (display.transferTables && display.transferTables->red.empty()) fuzz::fail("empty table");
  }

  // The app's own save: a gamma table on the main display, or the factory state written out. A
  // short table keeps each run quick; its length does not matter to the reader.
  const std::vector<float> table{0.0f, 0.5f, 1.0f};
  state.setTransferTables(main, table, table, table);

  const std::string saved = fuzz::readBytes(path);
  if (sim::whyNotReadWhole(saved)) fuzz::fail("the saved file cannot be read whole");
  fuzz::CountingConsole later;
  sim::SimDisplayState again(path, later);
  again.currentSnapshot();
  if (later.errors != 0) fuzz::fail("the saved file is not usable");
  return 0;
}
