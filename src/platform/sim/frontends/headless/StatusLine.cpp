#include "platform/sim/frontends/headless/StatusLine.h"

#include "platform/sim/frontends/headless/DisplaySummary.h"
#include "platform/sim/frontends/headless/StatusItemText.h"

namespace lumora::sim {

std::string statusLine(const SimStatusBar& statusBar, const SimApplication& application,
                       const SimDisplayState::Snapshot& displays, bool withColor) {
  const auto& items = statusBar.items();
  const std::string button = items.empty()
                                 ? "(no status item)"
                                 : describeStatusButton(items.front()->simButton(), withColor);
  const std::string dock = application.showsInDock() ? "shown" : "hidden";
  return "status: " + button + " | " + describeDrivenDisplay(displays) + " | Dock icon: " + dock;
}

}  // namespace lumora::sim
