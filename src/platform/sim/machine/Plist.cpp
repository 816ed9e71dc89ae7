#include "platform/sim/machine/Plist.h"

#include <cstdlib>
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
  return plist_compare_node_value(a, b) != 0;
}

std::string toXml(plist_t node) {
  char* raw = nullptr;
  std::uint32_t length = 0;
  plist_to_xml(node, &raw, &length);
  std::string xml(raw == nullptr ? "" : raw, raw == nullptr ? 0 : length);
  plist_to_xml_free(raw);
  return xml;
}

PlistPtr fromXml(std::string_view text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) return nullptr;
  plist_t node = nullptr;
  plist_from_xml(text.data(), static_cast<std::uint32_t>(text.size()), &node);
  return adopt(node);
}

}  // namespace lumora::sim
