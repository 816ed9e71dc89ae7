// Any program path: the autostart entry's Exec value, read back by the Desktop Entry quoting
// rules, is one argument that is exactly that path.

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/sim/SimLoginItems.h"

using namespace lumora;

namespace {

// The string value's escapes undone: \s \n \t \r \\.
std::string unescapeValue(const std::string& value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      text += value[i];
      continue;
    }
    if (++i == value.size()) fuzz::fail("a value ends in a backslash");
    switch (value[i]) {
      case 's':
        text += ' ';
        break;
      case 'n':
        text += '\n';
        break;
      case 't':
        text += '\t';
        break;
      case 'r':
        text += '\r';
        break;
      case '\\':
        text += '\\';
        break;
      default:
        fuzz::fail("an unknown escape in the value");
    }
  }
  return text;
}

// The command line split into arguments, with quoting and field codes undone.
std::vector<std::string> arguments(const std::string& line) {
  std::vector<std::string> result;
  std::string current;
  bool inArgument = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      inArgument = true;
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\') {
          if (++i == line.size()) fuzz::fail("a quoted argument ends in a backslash");
          if (std::string("\"`$\\").find(line[i]) == std::string::npos) {
            fuzz::fail("a backslash before a character that needs none");
          }
        }
        current += line[i];
      }
      if (i == line.size()) fuzz::fail("a quote that never closes");
    } else if (c == ' ') {
      if (inArgument) result.push_back(current);
      current.clear();
      inArgument = false;
    } else {
      if (std::string("\t\n\"'\\><~|&;$*?#()`").find(c) != std::string::npos) {
        fuzz::fail("a reserved character outside quotes");
      }
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) result.push_back(current);
  // Field codes: "%%" is a percent sign; any other "%" would be a field code.
  for (std::string& argument : result) {
    std::string plain;
    for (std::size_t i = 0; i < argument.size(); ++i) {
      if (argument[i] == '%') {
        if (i + 1 == argument.size() || argument[i + 1] != '%') fuzz::fail("a field code");
        ++i;
      }
      plain += argument[i];
    }
    argument = plain;
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string program(reinterpret_cast<const char*>(data), size);
  // A path never holds a NUL, and a program's path is never empty.
  if (program.empty() || program.find('\0') != std::string::npos) return 0;
  const std::string value = sim::SimLoginItems::execValue(program);
  if (value.find('\n') != std::string::npos) fuzz::fail("a line break in the value");
  const std::vector<std::string> parsed = arguments(unescapeValue(value));
  if (parsed.size() != 1 || parsed.front() != program) fuzz::fail("the path does not come back");
  return 0;
}
