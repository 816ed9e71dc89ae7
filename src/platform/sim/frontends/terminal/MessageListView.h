#pragma once

#include <string>
#include <vector>

#include "platform/sim/frontends/terminal/MessageList.h"
#include "platform/sim/frontends/terminal/Overlay.h"
#include "platform/sim/frontends/terminal/TextBox.h"

namespace lumora::sim::terminal {

// The messages the app has said, newest first, each whole. Opening it counts as seeing the newest:
// the footer no longer shows it. Escape, q or m closes it; other keys go on to the main screen.
class MessageListView final : public Overlay {
 public:
  explicit MessageListView(MessageList& messages) : messages_(messages) {}

  void open();
  void close() { open_ = false; }

  bool isOpen() const override { return open_; }
  bool isModal() const override { return false; }
  void layOut(const Area& room) override;
  std::vector<Area> areas() const override { return {box_.area()}; }
  void draw(CursesScreen& screen) override;
  bool handle(const Input& input) override;
  std::vector<std::string_view> hints() const override;

 private:
  struct Line {
    std::string text;
    bool isError = false;
  };

  MessageList& messages_;
  bool open_ = false;
  std::vector<Line> lines_;
  TextBox box_;
};

}  // namespace lumora::sim::terminal
