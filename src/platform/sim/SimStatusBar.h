#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/StatusBar.h"

namespace lumora::sim {

class SimStatusBar;

// Records what the application sets, so the front ends draw it and tests read it; tells its item
// only when a value really changes.
class SimStatusButton final : public platform::StatusButton {
 public:
  explicit SimStatusButton(std::function<void()> changed) : changed_(std::move(changed)) {}

  void setTitle(std::string_view title) override;
  void setImage(const std::optional<platform::SymbolImage>& image) override;
  void setContentTintColor(std::optional<platform::NamedColor> color) override;

  const std::string& title() const { return title_; }
  const std::optional<platform::SymbolImage>& image() const { return image_; }
  std::optional<platform::NamedColor> contentTintColor() const { return tint_; }

 private:
  std::function<void()> changed_;
  std::string title_;
  std::optional<platform::SymbolImage> image_;
  std::optional<platform::NamedColor> tint_;
};

class SimStatusItem final : public platform::StatusItem {
 public:
  SimStatusItem(SimStatusBar& bar);
  ~SimStatusItem() override;

  platform::StatusButton* button() override { return &button_; }
  void setMenu(platform::Menu menu) override;

  const SimStatusButton& simButton() const { return button_; }
  const std::optional<platform::Menu>& menu() const { return menu_; }

 private:
  SimStatusBar& bar_;
  SimStatusButton button_;
  std::optional<platform::Menu> menu_;
};

// The menu bar's status area. Items appear while their owner keeps them.
class SimStatusBar final : public platform::StatusBar {
 public:
  std::unique_ptr<platform::StatusItem> statusItemWithLength(double length) override;

  const std::vector<SimStatusItem*>& items() const { return items_; }
  // Called whenever an item comes or goes, or its button or its menu changes; setting what is
  // already there is no change.
  void setChangeObserver(std::function<void()> observer) { observer_ = std::move(observer); }

 private:
  friend class SimStatusItem;
  void changed() {
    if (observer_) observer_();
  }

  std::vector<SimStatusItem*> items_;
  std::function<void()> observer_;
};

}  // namespace lumora::sim
