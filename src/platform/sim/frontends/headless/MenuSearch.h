#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Menu.h"

namespace lumora::sim {

// An entry of a menu, with the titles that lead to it, as "Deep Blacks: Medium > Subtle".
struct FoundEntry {
  const platform::MenuItem* item = nullptr;
  std::string path;
};

// A title as typed or shown, for comparing: without a leading symbol, every dash a hyphen with no
// spaces around it, letters in lower case, runs of spaces as one.
std::string normalizedTitle(std::string_view title);

// The entries that `query` names, found forgivingly: any dash for any dash, any case, with or
// without the leading symbol, and any part of a title that is unique. A title equal to the query
// beats one that merely holds it, and enabled entries beat disabled ones. Without " > " the whole
// menu, submenus included, is searched; "Deep Blacks > Medium" goes step by step. Several results
// mean the query is ambiguous; none, that nothing matches. A slider is no entry to pick and is
// never found.
std::vector<FoundEntry> findEntries(
    const platform::Menu& menu, std::string_view query,
    const std::function<bool(const platform::MenuItem&)>& isEnabled);

}  // namespace lumora::sim
