#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "e2e/RunningApp.h"
#include "platform/sim/machine/FactoryDisplay.h"
#include "platform/sim/machine/Plist.h"
#include "support/TempDirectory.h"

namespace lumora::testing {

// Tests of the built program on a simulated Mac set up through its files, as a user would.
class SimulatedMacTest : public ::testing::Test {
 protected:
  std::filesystem::path displayPath() const { return home_ / "state/lumora-virir/display.plist"; }
  void storeDefaults(const std::string& entries) const {
    writeText(home_ / "config/lumora-virir/defaults.plist",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" +
                  entries + "</dict></plist>\n");
  }
  // The factory display with `extra` in the built-in display's entry, and more displays after it.
  void storeDisplay(const std::string& extra, const std::string& moreDisplays = "") const {
    std::string text = sim::toXml(sim::factoryDisplayState().get());
    text.insert(text.find("<key>DisplayID</key>"), extra);
    text.insert(text.rfind("</array>"), moreDisplays);
    replaceFile(text);
  }
  // The display file's value after the first `<key>key</key>` replaced by `value` (XML).
  void changeValue(const std::string& key, const std::string& value) const {
    std::string text = readText(displayPath());
    const std::size_t keyAt = text.find("<key>" + key + "</key>");
    ASSERT_NE(keyAt, std::string::npos) << key;
    const std::size_t start = text.find('<', keyAt + key.size() + 11);
    const std::size_t close = text.find('>', text.find("</", start));
    text.replace(start, close + 1 - start, value);
    replaceFile(text);
  }
  // As another program would: a whole new file in its place.
  void replaceFile(const std::string& text) const {
    writeText(displayPath().string() + ".new", text);
    std::filesystem::rename(displayPath().string() + ".new", displayPath());
  }
  // Asks for the status until it says `text`, for at most about five seconds.
  bool statusSays(RunningApp& app, const std::string& text) {
    for (int attempt = 0; attempt < 25; ++attempt) {
      app.send("status");
      if (app.waitForLine("status: ").value_or("").find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
  }
  // The menu's lines, up to its last one, the quit entry.
  std::string menu(RunningApp& app) {
    app.send("menu");
    std::string lines;
    while (const std::optional<std::string> line = app.waitForLine("menu: ")) {
      lines += *line + "\n";
      if (line->find("Quit") != std::string::npos) break;
    }
    return lines;
  }
  // "table" when the display's entry in the file holds a gamma table, "none" otherwise.
  std::string table(const std::string& display) const {
    const std::string text = readText(displayPath());
    const std::size_t entry =
        text.find("<key>DisplayID</key>\n\t\t\t<integer>" + display + "</integer>");
    const std::size_t next = text.find("<key>DisplayID</key>", entry + 1);
    const std::size_t found = text.find("<key>TransferTable</key>", entry);
    return entry != std::string::npos && found != std::string::npos && found < next ? "table"
                                                                                    : "none";
  }

  TempDirectory home_;
};

}  // namespace lumora::testing
