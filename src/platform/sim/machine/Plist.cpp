#include "platform/sim/machine/Plist.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace lumora::sim {
namespace {

struct FreeDeleter {
  void operator()(char* text) const { std::free(text); }
};

}  // namespace

bool isDictionary(plist_t node) {
  return node != nullptr && plist_get_node_type(node) == PLIST_DICT;
}

bool isArray(plist_t node) {
  return node != nullptr && plist_get_node_type(node) == PLIST_ARRAY;
}

plist_t dictItem(plist_t dict, std::string_view key) {
  if (!isDictionary(dict)) return nullptr;
  // The keys the app looks up are short: they are terminated on the stack, not the heap.
  char terminated[64];
  if (key.size() < sizeof terminated) {
    key.copy(terminated, key.size());
    terminated[key.size()] = '\0';
    return plist_dict_get_item(dict, terminated);
  }
  return plist_dict_get_item(dict, std::string(key).c_str());
}

void setDictItem(plist_t dict, std::string_view key, PlistPtr value) {
  plist_dict_set_item(dict, std::string(key).c_str(), value.release());
}

void removeDictItem(plist_t dict, std::string_view key) {
  if (dictItem(dict, key) != nullptr) plist_dict_remove_item(dict, std::string(key).c_str());
}

PlistPtr makeInteger(std::int64_t value) {
  // libplist keeps every integer in an unsigned node and writes it back as signed.
  return adopt(plist_new_uint(static_cast<std::uint64_t>(value)));
}

std::optional<std::int64_t> integerValue(plist_t node) {
  if (node == nullptr || plist_get_node_type(node) != PLIST_UINT) return std::nullopt;
  std::uint64_t bits = 0;
  plist_get_uint_val(node, &bits);
  return static_cast<std::int64_t>(bits);
}

std::optional<double> realValue(plist_t node) {
  if (node == nullptr || plist_get_node_type(node) != PLIST_REAL) return std::nullopt;
  double value = 0.0;
  plist_get_real_val(node, &value);
  return value;
}

std::optional<double> numberValue(plist_t node) {
  if (const std::optional<double> real = realValue(node)) return real;
  if (const std::optional<std::int64_t> integer = integerValue(node)) {
    return static_cast<double>(*integer);
  }
  return std::nullopt;
}

std::optional<bool> boolValue(plist_t node) {
  if (node == nullptr || plist_get_node_type(node) != PLIST_BOOLEAN) return std::nullopt;
  std::uint8_t value = 0;
  plist_get_bool_val(node, &value);
  return value != 0;
}

std::optional<std::string> stringValue(plist_t node) {
  if (node == nullptr || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
  char* raw = nullptr;
  plist_get_string_val(node, &raw);
  const std::unique_ptr<char, FreeDeleter> text(raw);
  return std::string(text ? text.get() : "");
}

std::optional<std::string> dataValue(plist_t node) {
  if (node == nullptr || plist_get_node_type(node) != PLIST_DATA) return std::nullopt;
  char* raw = nullptr;
  std::uint64_t length = 0;
  plist_get_data_val(node, &raw, &length);
  const std::unique_ptr<char, FreeDeleter> bytes(raw);
  return std::string(bytes.get(), static_cast<std::size_t>(length));
}

bool equalValues(plist_t a, plist_t b) {
  if (a == nullptr || b == nullptr) return a == b;
  const plist_type type = plist_get_node_type(a);
  if (type != plist_get_node_type(b)) return false;
  if (type == PLIST_ARRAY) {
    const std::uint32_t count = plist_array_get_size(a);
    if (count != plist_array_get_size(b)) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (!equalValues(plist_array_get_item(a, i), plist_array_get_item(b, i))) return false;
    }
    return true;
  }
  if (type == PLIST_DICT) {
    if (plist_dict_get_size(a) != plist_dict_get_size(b)) return false;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(a, &iterator);
    bool equal = true;
    for (;;) {
      char* key = nullptr;
      plist_t value = nullptr;
      plist_dict_next_item(a, iterator, &key, &value);
      if (key == nullptr) break;
      const std::unique_ptr<char, FreeDeleter> owned(key);
      if (equal && !equalValues(value, plist_dict_get_item(b, key))) equal = false;
    }
    std::free(iterator);
    return equal;
  }
  if (type == PLIST_REAL) {
    // A number that is not a number stays one: NaN equals NaN here.
    const double x = realValue(a).value_or(0.0);
    const double y = realValue(b).value_or(0.0);
    return x == y || (std::isnan(x) && std::isnan(y));
  }
  return plist_compare_node_value(a, b) != 0;
}

namespace {

// Seconds from the Unix epoch to the one dates are counted from (2001-01-01).
constexpr std::int64_t macEpoch = 978307200;

void appendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
}

void appendBase64(std::string& out, const char* bytes, std::uint64_t length) {
  static constexpr char alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const auto byte = [bytes](std::uint64_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
  };
  std::uint64_t i = 0;
  for (; i + 3 <= length; i += 3) {
    const std::uint32_t triple = (byte(i) << 16) | (byte(i + 1) << 8) | byte(i + 2);
    for (const int shift : {18, 12, 6, 0})
      out += alphabet[(triple >> shift) & 0x3F];
  }
  if (length - i == 1) {
    const std::uint32_t single = byte(i) << 16;
    out += alphabet[(single >> 18) & 0x3F];
    out += alphabet[(single >> 12) & 0x3F];
    out += "==";
  } else if (length - i == 2) {
    const std::uint32_t pair = (byte(i) << 16) | (byte(i + 1) << 8);
    out += alphabet[(pair >> 18) & 0x3F];
    out += alphabet[(pair >> 12) & 0x3F];
    out += alphabet[(pair >> 6) & 0x3F];
    out += '=';
  }
}

void appendReal(std::string& out, double value) {
  if (std::isnan(value)) {
    out += "nan";
  } else if (std::isinf(value)) {
    out += value > 0 ? "+infinity" : "-infinity";
  } else {
    // The shortest text that reads back as exactly this value.
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    out.append(text, error == std::errc() ? static_cast<std::size_t>(end - text) : 0);
  }
}

void appendDate(std::string& out, plist_t node) {
  std::int32_t seconds = 0;
  std::int32_t microseconds = 0;
  plist_get_date_val(node, &seconds, &microseconds);
  const std::time_t time = static_cast<std::time_t>(macEpoch + seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  out += text;
}

void appendIndent(std::string& out, int depth) {
  out.append(static_cast<std::size_t>(depth), '\t');
}

// One value and its line, at `depth` tabs, as Apple's property lists lay them out.
void appendValue(std::string& out, plist_t node, int depth) {
  appendIndent(out, depth);
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN:
      out += boolValue(node).value_or(false) ? "<true/>\n" : "<false/>\n";
      return;
    case PLIST_UINT:
      out += "<integer>" + std::to_string(integerValue(node).value_or(0)) + "</integer>\n";
      return;
    case PLIST_REAL:
      out += "<real>";
      appendReal(out, realValue(node).value_or(0.0));
      out += "</real>\n";
      return;
    case PLIST_STRING: {
      std::uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      out += "<string>";
      appendEscaped(out, std::string_view(text, static_cast<std::size_t>(length)));
      out += "</string>\n";
      return;
    }
    case PLIST_DATA: {
      std::uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      out += "<data>";
      appendBase64(out, bytes, length);
      out += "</data>\n";
      return;
    }
    case PLIST_DATE:
      out += "<date>";
      appendDate(out, node);
      out += "</date>\n";
      return;
    case PLIST_UID: {
      std::uint64_t value = 0;
      plist_get_uid_val(node, &value);
      out += "<dict>\n";
      appendIndent(out, depth + 1);
      out += "<key>CF$UID</key>\n";
      appendIndent(out, depth + 1);
      out += "<integer>" + std::to_string(value) + "</integer>\n";
      appendIndent(out, depth);
      out += "</dict>\n";
      return;
    }
    case PLIST_ARRAY: {
      const std::uint32_t count = plist_array_get_size(node);
      if (count == 0) {
        out += "<array/>\n";
        return;
      }
      out += "<array>\n";
      for (std::uint32_t i = 0; i < count; ++i)
        appendValue(out, plist_array_get_item(node, i), depth + 1);
      appendIndent(out, depth);
      out += "</array>\n";
      return;
    }
    case PLIST_DICT: {
      if (plist_dict_get_size(node) == 0) {
        out += "<dict/>\n";
        return;
      }
      out += "<dict>\n";
      plist_dict_iter iterator = nullptr;
      plist_dict_new_iter(node, &iterator);
      for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &key, &value);
        if (key == nullptr) break;
        const std::unique_ptr<char, FreeDeleter> owned(key);
        appendIndent(out, depth + 1);
        out += "<key>";
        appendEscaped(out, key);
        out += "</key>\n";
        appendValue(out, value, depth + 1);
      }
      std::free(iterator);
      appendIndent(out, depth);
      out += "</dict>\n";
      return;
    }
    default:
      out += "<string></string>\n";
      return;
  }
}

}  // namespace

std::string toXml(plist_t node) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n";
  if (node != nullptr) appendValue(xml, node, 0);
  xml += "</plist>\n";
  return xml;
}

PlistPtr fromXml(std::string_view text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) return nullptr;
  plist_t node = nullptr;
  plist_from_xml(text.data(), static_cast<std::uint32_t>(text.size()), &node);
  return adopt(node);
}

}  // namespace lumora::sim
