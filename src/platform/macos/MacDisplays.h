#pragma once

#include <mutex>
#include <vector>

#include "platform/Displays.h"

namespace lumora::macos {

// The tables are loaded and read at each display's own size (CGDisplayGammaTableCapacity),
// resampled from and to the size the caller works in, so that Core Graphics neither stretches nor
// cuts them.
class MacDisplays final : public platform::Displays {
 public:
  platform::DisplayID mainDisplayID() override;
  std::optional<platform::DisplayID> builtInDisplayID() override;
  std::vector<platform::DisplayID> onlineDisplays() override;
  std::optional<platform::Screen> mainScreen() override;
  std::int32_t setTransferTable(platform::DisplayID display, std::span<const float> red,
                                std::span<const float> green, std::span<const float> blue) override;
  std::size_t readTransferTable(platform::DisplayID display, std::span<float> red,
                                std::span<float> green, std::span<float> blue) override;
  void restoreColorSyncSettings() override;

 private:
  // A table at a display's size, kept from call to call: it grows only for a display with a larger
  // table than any before, so that reading a table back allocates nothing.
  struct Scratch {
    struct Spans {
      std::span<float> red, green, blue;
    };
    // The first `size` entries of each table, which grow to hold them when they are smaller.
    Spans first(std::size_t size);

    std::vector<float> red, green, blue;
  };
  std::mutex scratchMutex_;
  Scratch scratch_;
};

}  // namespace lumora::macos
