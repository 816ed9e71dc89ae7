#include "FakeToolkit.h"

namespace lumora::testing {

void FakeApplication::setDelegate(std::weak_ptr<platform::ApplicationDelegate> newDelegate) {
  delegate = std::move(newDelegate);
  log_.add("application.setDelegate");
}

void FakeApplication::setActivationPolicy(platform::ActivationPolicy newPolicy) {
  policy = newPolicy;
  log_.add("application.setActivationPolicy " + std::to_string(static_cast<int>(newPolicy)));
}

void FakeApplication::activateIgnoringOtherApps(bool) {
  ++activations;
  log_.add("application.activate");
}

void FakeApplication::run() {
  log_.add("application.run");
  if (!finishesLaunchingOnRun) return;
  if (const auto current = delegate.lock()) current->applicationDidFinishLaunching();
}

void FakeApplication::terminate() {
  log_.add("application.terminate");
  if (const auto current = delegate.lock()) current->applicationWillTerminate();
  terminated = true;
}

void FakeStatusButton::setTitle(std::string_view newTitle) {
  title = std::string(newTitle);
  log_.add("button.setTitle " + title);
}

void FakeStatusButton::setImage(const std::optional<platform::SymbolImage>& newImage) {
  image = newImage;
  log_.add("button.setImage " + (newImage ? std::string(newImage->symbolName) : "none"));
}

void FakeStatusButton::setContentTintColor(std::optional<platform::NamedColor> color) {
  tint = color;
  log_.add("button.setTint");
}

void FakeStatusItem::setMenu(platform::Menu newMenu) {
  menu = std::move(newMenu);
  ++menuInstalls;
  log_.add("statusItem.setMenu");
}

std::unique_ptr<platform::StatusItem> FakeStatusBar::statusItemWithLength(double length) {
  log_.add("statusBar.statusItem");
  auto item = std::make_unique<FakeStatusItem>(log_, length, itemsHaveButtons);
  lastItem = item.get();
  return item;
}

std::optional<platform::SymbolImage> FakeSymbolImages::systemSymbolImage(
    platform::StaticText symbolName, platform::StaticText accessibilityDescription) {
  if (unknownSymbols.contains(symbolName.view())) return std::nullopt;
  return platform::SymbolImage{symbolName, accessibilityDescription, std::nullopt};
}

std::optional<platform::SymbolImage> FakeSymbolImages::imageWithSymbolConfiguration(
    const platform::SymbolImage& image, const platform::SymbolConfiguration& configuration) {
  if (configurationFails) return std::nullopt;
  platform::SymbolImage configured = image;
  configured.configuration = configuration;
  return configured;
}

std::shared_ptr<platform::Timer> FakeTimers::scheduledTimer(std::chrono::duration<double> interval,
                                                            bool repeats,
                                                            std::function<void()> block) {
  auto timer = std::make_shared<FakeTimer>();
  timer->interval = interval;
  timer->repeats = repeats;
  timer->block = std::move(block);
  timers.push_back(timer);
  return timer;
}

void FakeTimers::fireAll() {
  const auto current = timers;
  for (const auto& timer : current) {
    if (!timer->valid) continue;
    if (!timer->repeats) timer->valid = false;
    timer->block();
  }
}

void FakeMainQueue::async(std::function<void()> work) {
  log_.add("mainQueue.async");
  pending.push_back(std::move(work));
}

int FakeMainQueue::drain() {
  int ran = 0;
  while (!pending.empty()) {
    auto work = std::move(pending.front());
    pending.erase(pending.begin());
    work();
    ++ran;
  }
  return ran;
}

int FakeAlerts::runModal(const platform::Alert& alert) {
  log_.add("alerts.runModal " + alert.messageText);
  shown.push_back(alert);
  if (whileShown) whileShown(alert);
  log_.add("alerts.dismissed");
  return response;
}

namespace {

class FakeUpdater final : public platform::Updater {
 public:
  explicit FakeUpdater(EventLog& log) : log_(log) {}
  void checkForUpdates() override { log_.add("updater.checkForUpdates"); }

 private:
  EventLog& log_;
};

class FakeUpdaterController final : public platform::UpdaterController {
 public:
  explicit FakeUpdaterController(EventLog& log) : updater_(log) {}
  platform::Updater& updater() override { return updater_; }

 private:
  FakeUpdater updater_;
};

}  // namespace

std::unique_ptr<platform::UpdaterController> FakeUpdaters::makeStandardUpdaterController(
    bool startingUpdater) {
  ++controllersMade;
  startingFlags.push_back(startingUpdater);
  log_.add("updaters.makeController");
  return std::make_unique<FakeUpdaterController>(log_);
}

void FakeTerminationSignals::install(std::function<void()> newHandler) {
  handler = std::move(newHandler);
  ++installs;
}

void FakeTerminationSignals::exitProcess(int status) {
  throw ProcessExited{status};
}

}  // namespace lumora::testing
