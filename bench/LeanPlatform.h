#pragma once

// The least platform that the status item's refresh and the menu's rebuild can run on: nothing is
// recorded, so what the benchmarks count is the app's own work.

#include <map>
#include <string>

#include "platform/Platform.h"

namespace lumora::bench {

class LeanPreset final : public platform::MutablePresetDictionary {
 public:
  explicit LeanPreset(double ceiling) : ceiling_(ceiling) {}
  std::unique_ptr<platform::MutablePresetDictionary> mutableCopy() const override {
    return std::make_unique<LeanPreset>(ceiling_);
  }
  std::optional<double> numberValue(std::string_view key) const override {
    if (key == "PresetMaxSDRLuminance") return ceiling_;
    return std::nullopt;
  }
  void setString(std::string_view, std::string_view) override {}
  void setDouble(std::string_view key, double value) override {
    if (key == "PresetMaxSDRLuminance") ceiling_ = value;
  }
  void setInteger(std::string_view, std::int64_t) override {}
  void setData(std::string_view, std::span<const std::uint8_t>) override {}

 private:
  double ceiling_;
};

class LeanWindowServer final : public platform::WindowServer {
 public:
  platform::OpenedPresetFunctions openPresetFunctions(
      std::string_view, const platform::PresetFunctionNames&) override {
    platform::OpenedPresetFunctions opened;
    opened.functions.getActivePresetIndex = [this](platform::DisplayID) { return active; };
    opened.functions.setActivePresetIndex = [this](platform::DisplayID, std::int32_t index) {
      active = index;
      return 0;
    };
    opened.functions.copyPresetData =
        [this](platform::DisplayID, std::int32_t) -> std::unique_ptr<platform::PresetDictionary> {
      return std::make_unique<LeanPreset>(ceiling);
    };
    opened.functions.setPresetData = [](platform::DisplayID, std::int32_t,
                                        const platform::PresetDictionary&) { return 0; };
    return opened;
  }

  std::int32_t active = 11;
  double ceiling = 1250.0;
};

class LeanDisplays final : public platform::Displays {
 public:
  platform::DisplayID mainDisplayID() override { return 1; }
  std::optional<platform::Screen> mainScreen() override {
    return platform::Screen{std::int64_t{1}};
  }
  void setTransferTable(platform::DisplayID, std::span<const float>, std::span<const float>,
                        std::span<const float>) override {}
  void restoreColorSyncSettings() override {}
};

class LeanUserDefaults final : public platform::UserDefaults {
 public:
  bool boolForKey(std::string_view key) override { return key == "simpleIcon" && simpleIcon; }
  std::int64_t integerForKey(std::string_view) override { return 0; }
  double doubleForKey(std::string_view) override { return 0.0; }
  void setBool(std::string_view, bool) override {}
  void setInteger(std::string_view, std::int64_t) override {}
  void setDouble(std::string_view, double) override {}

  bool simpleIcon = false;
};

class LeanButton final : public platform::StatusButton {
 public:
  void setTitle(std::string_view) override {}
  void setImage(const std::optional<platform::SymbolImage>&) override {}
  void setContentTintColor(std::optional<platform::NamedColor>) override {}
};

class LeanStatusItem final : public platform::StatusItem {
 public:
  platform::StatusButton* button() override { return &button_; }
  // Keeps the menu, as the real item does, so that releasing the old one is counted too.
  void setMenu(platform::Menu menu) override { menu_ = std::move(menu); }

 private:
  LeanButton button_;
  platform::Menu menu_;
};

class LeanStatusBar final : public platform::StatusBar {
 public:
  std::unique_ptr<platform::StatusItem> statusItemWithLength(double) override {
    return std::make_unique<LeanStatusItem>();
  }
};

class LeanSymbolImages final : public platform::SymbolImages {
 public:
  std::optional<platform::SymbolImage> systemSymbolImage(
      platform::StaticText name, platform::StaticText description) override {
    return platform::SymbolImage{name, description, std::nullopt};
  }
  std::optional<platform::SymbolImage> imageWithSymbolConfiguration(
      const platform::SymbolImage& image,
      const platform::SymbolConfiguration& configuration) override {
    platform::SymbolImage configured = image;
    configured.configuration = configuration;
    return configured;
  }
};

class LeanApplication final : public platform::Application {
 public:
  void setDelegate(std::weak_ptr<platform::ApplicationDelegate>) override {}
  void setActivationPolicy(platform::ActivationPolicy) override {}
  void activateIgnoringOtherApps(bool) override {}
  void run() override {}
  void terminate() override {}
};

class LeanTimers final : public platform::Timers {
 public:
  struct LeanTimer final : platform::Timer {
    void invalidate() override {}
    bool isValid() const override { return true; }
  };
  std::shared_ptr<platform::Timer> scheduledTimer(std::chrono::duration<double>, bool,
                                                  std::function<void()>) override {
    return std::make_shared<LeanTimer>();
  }
};

class LeanMainQueue final : public platform::MainQueue {
 public:
  void async(std::function<void()>) override {}
};

class LeanAlerts final : public platform::Alerts {
 public:
  int runModal(const platform::Alert&) override { return platform::alertFirstButtonReturn; }
};

class LeanWindows final : public platform::Windows {
 public:
  std::shared_ptr<platform::Window> makeWindow(const platform::Rect&, unsigned,
                                               platform::BackingStore, bool) override {
    return nullptr;
  }
};

class LeanNotificationCenter final : public platform::NotificationCenter {
 public:
  void addWindowWillCloseObserver(const platform::Window&, std::function<void()>) override {}
};

class LeanLoginItems final : public platform::LoginItems {
 public:
  std::optional<std::string> registerMainApp() override { return std::nullopt; }
  std::optional<std::string> unregisterMainApp() override { return std::nullopt; }
};

class LeanUpdaters final : public platform::Updaters {
 public:
  std::unique_ptr<platform::UpdaterController> makeStandardUpdaterController(bool) override {
    return nullptr;
  }
};

class LeanSignals final : public platform::TerminationSignals {
 public:
  void install(std::function<void()>) override {}
  [[noreturn]] void exitProcess(int) override { std::abort(); }
};

class LeanConsole final : public platform::Console {
 public:
  void printLine(std::string_view) override {}
  void printErrorLine(std::string_view) override {}
};

struct LeanPlatform {
  LeanApplication application;
  LeanStatusBar statusBar;
  LeanSymbolImages symbolImages;
  LeanDisplays displays;
  LeanWindowServer windowServer;
  LeanUserDefaults userDefaults;
  LeanTimers timers;
  LeanMainQueue mainQueue;
  LeanAlerts alerts;
  LeanWindows windows;
  LeanNotificationCenter notificationCenter;
  LeanLoginItems loginItems;
  LeanUpdaters updaters;
  LeanSignals terminationSignals;
  LeanConsole console;

  platform::Platform platform = platform::platformOf(*this);
};

}  // namespace lumora::bench
