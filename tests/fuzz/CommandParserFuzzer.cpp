// Any bytes as a URL of the app's scheme and as a keyboard shortcut's combination: a command or
// combination accepted reads back as itself and keeps to its grammar, and a refusal says why in
// one printable line.

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "ui/HotKeyParsing.h"
#include "ui/RemoteCommand.h"

using namespace lumora;

namespace {

void checkReason(const std::string& reason) {
  if (reason.empty()) fuzz::fail("a refusal without a reason");
  for (const char c : reason) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) fuzz::fail("a control character in a reason");
  }
  // Each part it quotes is cut short: a reason stays one short line, whatever came.
  if (reason.size() > 1024) fuzz::fail("a reason longer than a short line");
}

void checkCommand(std::string_view text) {
  const ui::ParsedCommand parsed = ui::parseCommandURL(text);
  if (!parsed.command) return checkReason(parsed.refusal);
  if (text.size() > ui::maximumCommandLength) fuzz::fail("a command over the length accepted");
  const ui::RemoteCommand& command = *parsed.command;
  if (command.kind == ui::RemoteCommand::Kind::xdrLevel &&
      (command.nits < ui::lowestCommandNits || command.nits > ui::highestCommandNits)) {
    fuzz::fail("a level out of range accepted");
  }
  const ui::ParsedCommand again =
      ui::parseCommandURL(std::string(ui::urlScheme) + "://" + ui::commandText(command));
  if (!again.command || !(*again.command == command)) fuzz::fail("a command does not read back");
}

void checkHotKey(std::string_view text) {
  const ui::ParsedHotKey parsed = ui::parseHotKey(text);
  if (!parsed.hotKey) return checkReason(parsed.refusal);
  const platform::HotKey& hotKey = *parsed.hotKey;
  if (!hotKey.control && !hotKey.command) fuzz::fail("a combination without ctrl or command");
  const ui::ParsedHotKey again = ui::parseHotKey(platform::hotKeyText(hotKey));
  if (!again.hotKey || !(*again.hotKey == hotKey)) fuzz::fail("a combination does not read back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  checkCommand(text);
  checkHotKey(text);
  return 0;
}
