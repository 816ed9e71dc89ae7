#include "platform/sim/machine/Plist.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

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

void forEachDictItem(plist_t dict,
                     const std::function<void(const char* key, plist_t value)>& visit) {
  if (!isDictionary(dict)) return;
  plist_dict_iter iterator = nullptr;
  plist_dict_new_iter(dict, &iterator);
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(dict, iterator, &key, &value);
    if (key == nullptr) break;
    const std::unique_ptr<char, FreeDeleter> owned(key);  // the library hands out a copy
    visit(key, value);
  }
  std::free(iterator);
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
    bool equal = true;
    forEachDictItem(a, [&](const char* key, plist_t value) {
      if (equal && !equalValues(value, plist_dict_get_item(b, key))) equal = false;
    });
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

// The last array of reals written, and its text: a gamma table loads the same values in its three
// channels and keeps them from one save to the next, so they are formatted once.
struct WrittenReals {
  std::vector<double> values;
  int depth = -1;
  std::string text;
};

// Writes values as Apple's property lists lay them out: one to a line, a tab a level.
class XmlWriter {
 public:
  XmlWriter(std::string& out, WrittenReals& lastReals) : out_(out), last_(lastReals) {}

  void value(plist_t node, int depth) {
    switch (plist_get_node_type(node)) {
      case PLIST_BOOLEAN:
        line(depth, boolValue(node).value_or(false) ? "<true/>" : "<false/>");
        return;
      case PLIST_UINT:
        number(depth, "<integer>", integerValue(node).value_or(0), "</integer>");
        return;
      case PLIST_REAL:
        real(depth, realValue(node).value_or(0.0));
        return;
      case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        indent(depth);
        out_ += "<string>";
        appendEscaped(out_, std::string_view(text, static_cast<std::size_t>(length)));
        out_ += "</string>\n";
        return;
      }
      case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        indent(depth);
        out_ += "<data>";
        appendBase64(out_, bytes, length);
        out_ += "</data>\n";
        return;
      }
      case PLIST_DATE:
        indent(depth);
        out_ += "<date>";
        appendDate(out_, node);
        out_ += "</date>\n";
        return;
      case PLIST_UID: {
        std::uint64_t uid = 0;
        plist_get_uid_val(node, &uid);
        line(depth, "<dict>");
        line(depth + 1, "<key>CF$UID</key>");
        number(depth + 1, "<integer>", uid, "</integer>");
        line(depth, "</dict>");
        return;
      }
      case PLIST_ARRAY:
        return array(node, depth);
      case PLIST_DICT:
        return dictionary(node, depth);
      default:
        line(depth, "<string></string>");
        return;
    }
  }

 private:
  void indent(int depth) { out_.append(static_cast<std::size_t>(depth), '\t'); }

  void line(int depth, std::string_view text) {
    indent(depth);
    out_ += text;
    out_ += '\n';
  }

  template <typename Integer>
  void number(int depth, std::string_view open, Integer value, std::string_view close) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    indent(depth);
    out_ += open;
    out_.append(digits, error == std::errc() ? static_cast<std::size_t>(end - digits) : 0);
    out_ += close;
    out_ += '\n';
  }

  void real(int depth, double number) {
    indent(depth);
    out_ += "<real>";
    appendReal(out_, number);
    out_ += "</real>\n";
  }

  void array(plist_t node, int depth) {
    const std::uint32_t count = plist_array_get_size(node);
    if (count == 0) return line(depth, "<array/>");
    line(depth, "<array>");
    // An array of reals like the last one is written as it was.
    if (readReals(node, count)) {
      if (reals_ == last_.values && depth == last_.depth) {
        out_ += last_.text;
      } else {
        const std::size_t start = out_.size();
        for (const double number : reals_)
          real(depth + 1, number);
        last_.values.swap(reals_);
        last_.depth = depth;
        last_.text.assign(out_, start, std::string::npos);
      }
    } else {
      for (std::uint32_t i = 0; i < count; ++i)
        value(plist_array_get_item(node, i), depth + 1);
    }
    line(depth, "</array>");
  }

  // The array's values when all are reals.
  bool readReals(plist_t node, std::uint32_t count) {
    reals_.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::optional<double> number = realValue(plist_array_get_item(node, i));
      if (!number) return false;
      reals_.push_back(*number);
    }
    return true;
  }

  void dictionary(plist_t node, int depth) {
    if (plist_dict_get_size(node) == 0) return line(depth, "<dict/>");
    line(depth, "<dict>");
    forEachDictItem(node, [&](const char* key, plist_t item) {
      indent(depth + 1);
      out_ += "<key>";
      appendEscaped(out_, key);
      out_ += "</key>\n";
      value(item, depth + 1);
    });
    line(depth, "</dict>");
  }

  std::string& out_;
  WrittenReals& last_;
  std::vector<double> reals_;
};

}  // namespace

std::string toXml(plist_t node) {
  std::string xml;
  xml.reserve(64 * 1024);
  xml +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n";
  // Each thread keeps its own: the exit path may write while the main thread does.
  thread_local WrittenReals lastReals;
  if (node != nullptr) XmlWriter(xml, lastReals).value(node, 0);
  xml += "</plist>\n";
  return xml;
}

PlistPtr fromXml(std::string_view text) {
  // A byte-order mark, which the library does not expect, says only that the text is UTF-8.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) return nullptr;
  plist_t node = nullptr;
  plist_from_xml(text.data(), static_cast<std::uint32_t>(text.size()), &node);
  return adopt(node);
}

}  // namespace lumora::sim
