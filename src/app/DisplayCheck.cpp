#include "app/DisplayCheck.h"

#include "app/DiagnosticReport.h"
#include "display/Nits.h"

namespace lumora {

DisplayCheck::DisplayCheck(platform::Platform& platform, SharedControllers& controllers)
    : platform_(platform), controllers_(controllers) {}

DisplayCheck::~DisplayCheck() {
  // The timer calls back into this object.
  if (polling_) polling_->invalidate();
}

void DisplayCheck::applicationDidFinishLaunching() {
  XDRController& xdr = controllers_.xdr();
  // The check reports what it finds; nobody is there to answer an alert.
  xdr.setAlertsShown(false);
  display_ = xdr.targetDisplayID();
  saved_ = xdr.savePresets(display_);
  putBack_ = false;
  controllers_.trail().record(EventTrail::Event::checkStarted, checkNits);
  xdr.setXDRBrightness(checkNits);
  deadline_ = std::chrono::steady_clock::now() +
              std::chrono::duration_cast<std::chrono::steady_clock::duration>(timeLimit);
  polling_ = platform_.timers.scheduledTimer(pollInterval, true, [this] { poll(); });
  poll();
}

void DisplayCheck::poll() {
  if (!polling_) return;
  XDRController& xdr = controllers_.xdr();
  const bool headroom = xdr.method() == XDRController::Method::headroom;
  const std::string how = headroom ? "through EDR headroom" : "with a preset";
  if (const std::optional<UnavailableReason> reason = xdr.unavailableReason()) {
    return finish(false,
                  "could not raise the display " + how + ": " + std::string(describe(*reason)));
  }
  const std::optional<double> given = xdr.givenNits();
  // A slot that was empty cannot be emptied again through the window server.
  const std::string putBack = !headroom && !saved_.slot
                                  ? "put back (slot 11 keeps the check's preset, inactive)"
                                  : "put back as it was";
  if (given && *given >= checkNits - 0.5) {
    return finish(true,
                  "raised to " + nitsText(*given) + " " + how + ", read back, and " + putBack);
  }
  if (std::chrono::steady_clock::now() < deadline_) return;
  if (given && *given > sdrCeilingNits + 0.5) {
    return finish(true, "raised to only " + nitsText(*given) + " " + how +
                            " (the display allows no more), and " + putBack);
  }
  finish(false, "could not raise the display " + how + " within " +
                    std::to_string(static_cast<int>(timeLimit.count())) +
                    " s: it did not hold the level");
}

void DisplayCheck::finish(bool raised, std::string outcome) {
  polling_->invalidate();
  polling_.reset();
  putBack();
  controllers_.trail().record(EventTrail::Event::checkEnded,
                              raised ? "raised and put back" : "could not raise the display");
  outcome_ = std::move(outcome);
  status_ = raised ? raisedStatus : notRaisedStatus;
  std::string report = diagnosticReport();
  if (!report.empty() && report.back() == '\n') report.pop_back();
  platform_.console.printLine(report);
  platform_.application.stop();
}

void DisplayCheck::putBack() {
  if (putBack_) return;
  putBack_ = true;
  XDRController& xdr = controllers_.xdr();
  xdr.disableXDR();
  xdr.restorePresets(display_, saved_);
}

void DisplayCheck::applicationWillTerminate() {
  putBack();
}

std::string DisplayCheck::diagnosticReport() {
  return lumora::diagnosticReport(platform_, controllers_, outcome_);
}

}  // namespace lumora
