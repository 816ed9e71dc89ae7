#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Windows.h"

namespace lumora::sim {

class SimWindows;

// A window of the simulated Mac. Its frame is in points on the simulated screen.
class SimWindow final : public platform::Window, public std::enable_shared_from_this<SimWindow> {
 public:
  SimWindow(SimWindows& owner, int number, platform::Rect contentRect, unsigned styleMask);

  void setTitle(const std::string& title) override;
  void center() override;
  // The owner's reference keeps a simulated window; closing never releases it.
  void setReleasedWhenClosed(bool) override {}
  platform::Rect contentViewBounds() const override;
  void setContentView(const platform::View& view) override;
  void makeKeyAndOrderFront() override;
  bool isVisible() const override { return visible_; }

  int number() const { return number_; }
  const std::string& title() const { return title_; }
  const platform::Rect& frame() const { return frame_; }
  unsigned styleMask() const { return styleMask_; }
  bool isClosable() const { return (styleMask_ & platform::windowStyleClosable) != 0; }
  bool isKey() const;
  const std::optional<platform::View>& contentView() const { return contentView_; }
  // The buttons of its content, in order: what a user can press in it.
  std::vector<platform::View> buttons() const;

  // The user presses the close button: the will-close observers run, then the window goes.
  // False when the window has no close button.
  bool performClose();

 private:
  friend class SimWindows;

  SimWindows& owner_;
  int number_;
  platform::Rect frame_;
  unsigned styleMask_;
  std::string title_;
  bool visible_ = false;
  std::optional<platform::View> contentView_;
};

// The windows on the simulated screen, front-most last.
class SimWindows final : public platform::Windows {
 public:
  static constexpr platform::Rect screen{0, 0, 1512, 982};

  // `willClose` tells the observers of a window that it is about to close (the notification
  // centre's).
  explicit SimWindows(std::function<void(const SimWindow&)> willClose)
      : willClose_(std::move(willClose)) {}

  std::shared_ptr<platform::Window> makeWindow(const platform::Rect& contentRect,
                                               unsigned styleMask, platform::BackingStore backing,
                                               bool defer) override;

  // The windows that are on screen, back to front.
  std::vector<std::shared_ptr<SimWindow>> visibleWindows() const;
  std::shared_ptr<SimWindow> keyWindow() const;
  void setChangeObserver(std::function<void()> observer) { observer_ = std::move(observer); }

 private:
  friend class SimWindow;
  void orderFront(const SimWindow& window);
  void close(SimWindow& window);
  void changed() {
    if (observer_) observer_();
  }

  std::function<void(const SimWindow&)> willClose_;
  std::vector<std::weak_ptr<SimWindow>> order_;
  int keyNumber_ = 0;
  int nextNumber_ = 1;
  std::function<void()> observer_;
};

}  // namespace lumora::sim
