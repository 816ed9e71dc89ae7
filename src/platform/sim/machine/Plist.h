#pragma once

#include <plist/plist.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

// Small owning helpers over libplist.
namespace lumora::sim {

struct PlistDeleter {
  void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistDeleter>;

// A document that several owners read and nobody changes any more.
using SharedPlist = std::shared_ptr<std::remove_pointer_t<plist_t>>;
inline SharedPlist share(PlistPtr node) {
  return SharedPlist(node.release(), PlistDeleter{});
}

inline PlistPtr adopt(plist_t node) {
  return PlistPtr(node);
}
inline PlistPtr copyOf(plist_t node) {
  return PlistPtr(node == nullptr ? nullptr : plist_copy(node));
}

bool isDictionary(plist_t node);
bool isArray(plist_t node);

// The item under `key`, or null when `dict` is not a dictionary or has no such key.
plist_t dictItem(plist_t dict, std::string_view key);
// Calls `visit(key, value)` for each item of the dictionary, in its order.
void forEachDictItem(plist_t dict,
                     const std::function<void(const char* key, plist_t value)>& visit);

// Replaces the item under `key`; the dictionary takes `value` over.
void setDictItem(plist_t dict, std::string_view key, PlistPtr value);
void removeDictItem(plist_t dict, std::string_view key);

// Integers are signed 64-bit, as the property-list format defines them.
PlistPtr makeInteger(std::int64_t value);
std::optional<std::int64_t> integerValue(plist_t node);
std::optional<double> realValue(plist_t node);
// An integer or a real, as a double.
std::optional<double> numberValue(plist_t node);
std::optional<bool> boolValue(plist_t node);
std::optional<std::string> stringValue(plist_t node);
std::optional<std::string> dataValue(plist_t node);

// Whether two values are equal, all the way down (the library compares only single values).
bool equalValues(plist_t a, plist_t b);

// XML property list text, and back; null when the text is not a property list.
std::string toXml(plist_t node);
PlistPtr fromXml(std::string_view text);

}  // namespace lumora::sim
