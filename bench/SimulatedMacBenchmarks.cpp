// The simulated Mac's side of a tick and of a pick, against real files in a temporary folder:
// a display.plist with XDR at 1250 nits and a Deep Blacks table (36 KB), or the same padded to
// 5 MB, whose cost a tick must not feel.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "AllocationCounter.h"
#include "app/AppDelegate.h"
#include "platform/sim/SimMac.h"

namespace lumora::bench {
namespace {

namespace fs = std::filesystem;

constexpr auto noWait = std::chrono::nanoseconds(0);

// A simulated Mac in a folder of its own that runs the app, launched, with XDR at 1250 nits and
// Deep Blacks at Medium.
class RunningSimulatedMac {
 public:
  explicit RunningSimulatedMac(std::size_t paddingBytes) {
    std::string pattern = (fs::temp_directory_path() / "lumora-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    paths_ = sim::SimPaths{.displayStateFile = folder_ / "state/display.plist",
                           .defaultsFile = folder_ / "config/defaults.plist",
                           .autostartDirectory = folder_ / "autostart",
                           .program = "lumora-virir"};
    fs::create_directories(folder_ / "config");
    std::ofstream(paths_.defaultsFile)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1250</real>"
           "<key>deepBlacksEnabled</key><true/><key>deepBlacksLevel</key><integer>2</integer>"
           "<key>deepBlacksWarningShown</key><true/></dict></plist>\n";
    if (paddingBytes > 0) pad(paddingBytes);
    mac_ = std::make_unique<sim::SimMac>(paths_);
    controllers_ = std::make_unique<SharedControllers>(mac_->platform);
    delegate_ = AppDelegate::create(mac_->platform, *controllers_);
    delegate_->applicationDidFinishLaunching();
    mac_->loop.finishPass();
  }
  ~RunningSimulatedMac() {
    delegate_.reset();
    controllers_.reset();
    mac_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  AppDelegate& delegate() { return *delegate_; }
  std::string displayFileText() const {
    std::string text;
    if (std::FILE* file = std::fopen(paths_.displayStateFile.c_str(), "rb")) {
      char buffer[65536];
      std::size_t count;
      while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, count);
      std::fclose(file);
    }
    return text;
  }
  sim::EventLoop& loop() { return mac_->loop; }

 private:
  // A display.plist grown by a key the app does not use.
  void pad(std::size_t bytes) {
    fs::create_directories(paths_.displayStateFile.parent_path());
    std::string entries;
    while (entries.size() < bytes)
      entries += "<integer>" + std::to_string(entries.size()) + "</integer>";
    std::ofstream(paths_.displayStateFile)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>MainDisplayID</key><integer>1</integer><key>MainScreenDisplayID</key>"
           "<integer>1</integer><key>Padding</key><array>"
        << entries
        << "</array><key>Displays</key><array><dict><key>DisplayID</key><integer>1</integer>"
           "<key>ActivePresetIndex</key><integer>0</integer><key>Presets</key><dict><key>0"
           "</key><dict><key>PresetMaxSDRLuminance</key><real>500</real><key>PresetWritable"
           "</key><false/></dict></dict></dict></array></dict></plist>\n";
  }

  fs::path folder_;
  sim::SimPaths paths_;
  std::unique_ptr<sim::SimMac> mac_;
  std::unique_ptr<SharedControllers> controllers_;
  std::shared_ptr<AppDelegate> delegate_;
};

// The timer's refresh and the rest of its pass of the run loop, files unchanged.
void SimulatedTick(benchmark::State& state) {
  RunningSimulatedMac mac(static_cast<std::size_t>(state.range(0)));
  mac.loop().runOnce(noWait);
  measureWithAllocations(state, [&] {
    mac.delegate().updateMenuBarDisplay();
    mac.loop().runOnce(noWait);
  });
}
BENCHMARK(SimulatedTick)->ArgName("padding")->Arg(0)->Arg(5 << 20);

// "250% – 1250 nits" and "320% – 1600 nits (MAX)" in turn, each with its pass: the preset written,
// the menu rebuilt and the file saved.
void SimulatedPick(benchmark::State& state) {
  RunningSimulatedMac mac(0);
  std::int64_t level = 1250;
  measureWithAllocations(state, [&] {
    mac.delegate().performMenuAction("setNits:", platform::MenuItemSender{level});
    mac.loop().runOnce(noWait);
    level = level == 1250 ? 1600 : 1250;
  });
}
BENCHMARK(SimulatedPick)->Unit(benchmark::kMicrosecond);

// Writing out the display file of a simulated Mac with XDR and a Deep Blacks table.
void SerializeDisplayFile(benchmark::State& state) {
  RunningSimulatedMac mac(0);
  const sim::PlistPtr document = sim::fromXml(mac.displayFileText());
  measureWithAllocations(state, [&] { benchmark::DoNotOptimize(sim::toXml(document.get())); });
}
BENCHMARK(SerializeDisplayFile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lumora::bench
