#pragma once

#include <memory>
#include <mutex>

#include "display/DeepBlacksController.h"
#include "display/EventTrail.h"
#include "display/TransferTables.h"
#include "display/XDRController.h"
#include "display/XDRPause.h"
#include "platform/Platform.h"

namespace lumora {

// The process-wide controller instances, each made on its first use and kept from then on.
class SharedControllers {
 public:
  explicit SharedControllers(platform::Platform& platform,
                             HeadroomBrightness::Clock clock = &std::chrono::steady_clock::now);
  SharedControllers(const SharedControllers&) = delete;
  SharedControllers& operator=(const SharedControllers&) = delete;

  // Any thread; a first use from two threads at once makes one controller.
  XDRController& xdr();

  // Main thread only. Making it restores a stored Deep Blacks level.
  DeepBlacksController& deepBlacks();

  // Main thread only.
  XDRPause& pause();

  // The gamma tables both controllers load, made with the first of them.
  TransferTables& transferTables() { return tables(); }

  // What changed the display during this run, since the controllers were made. Main thread only.
  EventTrail& trail() { return trail_; }
  // The steady clock the controllers and the menu's actions read.
  const HeadroomBrightness::Clock& clock() const { return clock_; }

 private:
  // The gamma tables both controllers load, made with the first of them.
  TransferTables& tables();

  platform::Platform& platform_;
  HeadroomBrightness::Clock clock_;
  EventTrail trail_{clock_};
  std::once_flag tablesOnce_;
  std::unique_ptr<TransferTables> tables_;
  std::once_flag xdrOnce_;
  std::unique_ptr<XDRController> xdr_;
  std::unique_ptr<DeepBlacksController> deepBlacks_;
  std::unique_ptr<XDRPause> pause_;
};

}  // namespace lumora
