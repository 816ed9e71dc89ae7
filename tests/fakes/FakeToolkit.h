#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "EventLog.h"
#include "platform/Alerts.h"
#include "platform/Application.h"
#include "platform/MainQueue.h"
#include "platform/StatusBar.h"
#include "platform/SymbolImages.h"
#include "platform/TerminationSignals.h"
#include "platform/Timers.h"
#include "platform/Updater.h"

namespace lumora::testing {

class FakeApplication final : public platform::Application {
 public:
  explicit FakeApplication(EventLog& log) : log_(log) {}

  void setDelegate(std::weak_ptr<platform::ApplicationDelegate> delegate) override;
  void setActivationPolicy(platform::ActivationPolicy policy) override;
  void activateIgnoringOtherApps(bool flag) override;
  // Finishes launching at once and returns, as if the loop had ended.
  void run() override;
  void terminate() override;

  std::weak_ptr<platform::ApplicationDelegate> delegate;
  bool finishesLaunchingOnRun = true;
  std::optional<platform::ActivationPolicy> policy;
  int activations = 0;
  bool terminated = false;

 private:
  EventLog& log_;
};

class FakeStatusButton final : public platform::StatusButton {
 public:
  explicit FakeStatusButton(EventLog& log) : log_(log) {}

  void setTitle(std::string_view title) override;
  void setImage(const std::optional<platform::SymbolImage>& image) override;
  void setContentTintColor(std::optional<platform::NamedColor> color) override;

  std::string title;
  std::optional<platform::SymbolImage> image;
  std::optional<platform::NamedColor> tint;

 private:
  EventLog& log_;
};

class FakeStatusItem final : public platform::StatusItem {
 public:
  FakeStatusItem(EventLog& log, double itemLength, bool hasButton)
      : log_(log), length(itemLength), button_(log), hasButton_(hasButton) {}

  platform::StatusButton* button() override { return hasButton_ ? &button_ : nullptr; }
  void setMenu(platform::Menu menu) override;

  FakeStatusButton& fakeButton() { return button_; }

  EventLog& log_;
  double length;
  std::optional<platform::Menu> menu;
  int menuInstalls = 0;

 private:
  FakeStatusButton button_;
  bool hasButton_;
};

class FakeStatusBar final : public platform::StatusBar {
 public:
  explicit FakeStatusBar(EventLog& log) : log_(log) {}

  std::unique_ptr<platform::StatusItem> statusItemWithLength(double length) override;

  bool itemsHaveButtons = true;
  // The last item made; owned by the caller.
  FakeStatusItem* lastItem = nullptr;

 private:
  EventLog& log_;
};

class FakeSymbolImages final : public platform::SymbolImages {
 public:
  std::optional<platform::SymbolImage> systemSymbolImage(
      platform::StaticText symbolName, platform::StaticText accessibilityDescription) override;
  std::optional<platform::SymbolImage> imageWithSymbolConfiguration(
      const platform::SymbolImage& image,
      const platform::SymbolConfiguration& configuration) override;

  std::set<std::string, std::less<>> unknownSymbols;
  bool configurationFails = false;
};

class FakeTimers final : public platform::Timers {
 public:
  struct FakeTimer final : platform::Timer {
    std::chrono::duration<double> interval{};
    bool repeats = false;
    bool valid = true;
    std::function<void()> block;
    void invalidate() override { valid = false; }
    bool isValid() const override { return valid; }
  };

  std::shared_ptr<platform::Timer> scheduledTimer(std::chrono::duration<double> interval,
                                                  bool repeats,
                                                  std::function<void()> block) override;
  // Fires every valid timer once.
  void fireAll();

  std::vector<std::shared_ptr<FakeTimer>> timers;
};

class FakeMainQueue final : public platform::MainQueue {
 public:
  explicit FakeMainQueue(EventLog& log) : log_(log) {}

  void async(std::function<void()> work) override;
  // Runs the queued work, including work queued meanwhile; returns how many tasks ran.
  int drain();

  std::vector<std::function<void()>> pending;

 private:
  EventLog& log_;
};

class FakeAlerts final : public platform::Alerts {
 public:
  explicit FakeAlerts(EventLog& log) : log_(log) {}

  int runModal(const platform::Alert& alert) override;

  std::vector<platform::Alert> shown;
  // What runModal answers; the first button unless set.
  int response = platform::alertFirstButtonReturn;
  // Runs while the alert is up, before it is answered.
  std::function<void(const platform::Alert&)> whileShown;

 private:
  EventLog& log_;
};

class FakeUpdaters final : public platform::Updaters {
 public:
  explicit FakeUpdaters(EventLog& log) : log_(log) {}

  std::unique_ptr<platform::UpdaterController> makeStandardUpdaterController(
      bool startingUpdater) override;

  int controllersMade = 0;
  std::vector<bool> startingFlags;

 private:
  EventLog& log_;
};

// Thrown by exitProcess, so that a test can watch the process "end".
struct ProcessExited {
  int status;
};

class FakeTerminationSignals final : public platform::TerminationSignals {
 public:
  void install(std::function<void()> handler) override;
  [[noreturn]] void exitProcess(int status) override;

  std::function<void()> handler;
  int installs = 0;
};

}  // namespace lumora::testing
