#include "platform/sim/SimWindows.h"

#include <algorithm>

namespace lumora::sim {

SimWindow::SimWindow(SimWindows& owner, int number, platform::Rect contentRect, unsigned styleMask)
    : owner_(owner), number_(number), frame_(contentRect), styleMask_(styleMask) {}

void SimWindow::setTitle(const std::string& title) {
  title_ = title;
  owner_.changed();
}

void SimWindow::center() {
  // As AppKit: centred across, and a little above the middle.
  const platform::Rect& screen = SimWindows::screen;
  frame_.x = (screen.width - frame_.width) / 2;
  frame_.y = (screen.height - frame_.height) / 2 + (screen.height - frame_.height) / 6;
  owner_.changed();
}

platform::Rect SimWindow::contentViewBounds() const {
  return {0, 0, frame_.width, frame_.height};
}

void SimWindow::setContentView(const platform::View& view) {
  contentView_ = view;
  owner_.changed();
}

void SimWindow::makeKeyAndOrderFront() {
  visible_ = true;
  owner_.orderFront(*this);
}

bool SimWindow::isKey() const {
  return visible_ && owner_.keyNumber_ == number_;
}

std::vector<platform::View> SimWindow::buttons() const {
  std::vector<platform::View> found;
  if (!contentView_) return found;
  for (const platform::View& view : contentView_->subviews) {
    if (view.kind == platform::View::Kind::button) found.push_back(view);
  }
  return found;
}

bool SimWindow::performClose() {
  if (!isClosable() || !visible_) return false;
  owner_.close(*this);
  return true;
}

std::shared_ptr<platform::Window> SimWindows::makeWindow(const platform::Rect& contentRect,
                                                         unsigned styleMask, platform::BackingStore,
                                                         bool) {
  auto window = std::make_shared<SimWindow>(*this, nextNumber_++, contentRect, styleMask);
  order_.push_back(window);
  return window;
}

std::vector<std::shared_ptr<SimWindow>> SimWindows::visibleWindows() const {
  std::vector<std::shared_ptr<SimWindow>> windows;
  for (const auto& weak : order_) {
    if (const auto window = weak.lock(); window && window->isVisible()) windows.push_back(window);
  }
  return windows;
}

std::shared_ptr<SimWindow> SimWindows::keyWindow() const {
  for (const auto& weak : order_) {
    if (const auto window = weak.lock(); window && window->isKey()) return window;
  }
  return nullptr;
}

void SimWindows::orderFront(const SimWindow& window) {
  std::erase_if(order_, [](const auto& weak) { return weak.expired(); });
  const auto at = std::find_if(order_.begin(), order_.end(),
                               [&](const auto& weak) { return weak.lock().get() == &window; });
  if (at != order_.end()) std::rotate(at, at + 1, order_.end());
  keyNumber_ = window.number();
  changed();
}

void SimWindows::close(SimWindow& window) {
  // The window lives through its close, even when an observer lets go of the last reference.
  const std::shared_ptr<SimWindow> keepAlive = window.shared_from_this();
  willClose_(window);
  window.visible_ = false;
  if (keyNumber_ == window.number()) keyNumber_ = 0;
  changed();
}

}  // namespace lumora::sim
