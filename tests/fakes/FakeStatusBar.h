#pragma once

#include <memory>
#include <optional>
#include <string>

#include "fakes/EventLog.h"
#include "platform/StatusBar.h"

namespace lumora::testing {

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

}  // namespace lumora::testing
