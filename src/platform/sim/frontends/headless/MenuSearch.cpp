#include "platform/sim/frontends/headless/MenuSearch.h"

#include <algorithm>
#include <array>

namespace lumora::sim {
namespace {

using IsEnabled = std::function<bool(const platform::MenuItem&)>;

// The dashes people type or titles use: hyphen, non-breaking hyphen, figure dash, en and em dash,
// horizontal bar, minus sign.
constexpr std::array<std::string_view, 7> dashes{"\u2010", "\u2011", "\u2012", "\u2013",
                                                 "\u2014", "\u2015", "\u2212"};

bool hasLetterOrDigit(std::string_view word) {
  return std::any_of(word.begin(), word.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  });
}

struct Candidate {
  FoundEntry entry;
  std::string normalized;
};

void collect(const platform::Menu& menu, const std::string& prefix,
             std::vector<Candidate>& candidates, bool descend) {
  for (const platform::MenuItem& item : menu.items) {
    // A slider is moved, never picked; its title would only make levels ambiguous.
    if (item.isSeparator || item.slider) continue;
    std::string path = prefix.empty() ? item.title : prefix + " > " + item.title;
    candidates.push_back(Candidate{{&item, path}, normalizedTitle(item.title)});
    if (descend && item.submenu) collect(*item.submenu, path, candidates, true);
  }
}

// The best matches among `candidates`: exact ones if any, else those holding the query; enabled
// ones if any, else the disabled ones (so that picking one can say it is disabled).
std::vector<FoundEntry> bestMatches(const std::vector<Candidate>& candidates,
                                    const std::string& query, const IsEnabled& isEnabled) {
  if (query.empty()) return {};
  std::vector<const Candidate*> matches;
  for (const Candidate& candidate : candidates) {
    if (candidate.normalized == query) matches.push_back(&candidate);
  }
  if (matches.empty()) {
    for (const Candidate& candidate : candidates) {
      if (candidate.normalized.find(query) != std::string::npos) matches.push_back(&candidate);
    }
  }
  const bool anyEnabled = std::any_of(matches.begin(), matches.end(), [&](const Candidate* c) {
    return isEnabled(*c->entry.item);
  });
  std::vector<FoundEntry> found;
  for (const Candidate* candidate : matches) {
    if (!anyEnabled || isEnabled(*candidate->entry.item)) found.push_back(candidate->entry);
  }
  return found;
}

}  // namespace

std::string normalizedTitle(std::string_view title) {
  // The leading symbol: a first word without letters or digits, as "🌑" or "⏹".
  while (!title.empty() && title.front() == ' ')
    title.remove_prefix(1);
  const std::size_t space = title.find(' ');
  if (space != std::string_view::npos && !hasLetterOrDigit(title.substr(0, space))) {
    title.remove_prefix(space + 1);
  }
  std::string text;
  bool pendingSpace = false;
  for (std::size_t at = 0; at < title.size();) {
    const auto dash = std::find_if(dashes.begin(), dashes.end(), [&](std::string_view d) {
      return title.substr(at).starts_with(d);
    });
    char c = title[at];
    std::size_t length = 1;
    if (dash != dashes.end()) {
      c = '-';
      length = dash->size();
    }
    at += length;
    if (c == ' ' || c == '\t') {
      pendingSpace = !text.empty() && text.back() != '-';
      continue;
    }
    // Spaces around a dash do not count: "160%-800" is "160% – 800".
    if (pendingSpace && c != '-') text += ' ';
    pendingSpace = false;
    text += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return text;
}

std::vector<FoundEntry> findEntries(const platform::Menu& menu, std::string_view query,
                                    const IsEnabled& isEnabled) {
  const std::size_t split = query.find('>');
  std::vector<Candidate> candidates;
  if (split == std::string_view::npos) {
    collect(menu, "", candidates, true);
    return bestMatches(candidates, normalizedTitle(query), isEnabled);
  }
  collect(menu, "", candidates, false);
  const std::vector<FoundEntry> step =
      bestMatches(candidates, normalizedTitle(query.substr(0, split)), isEnabled);
  if (step.size() != 1) return step;  // none, or the candidates of an ambiguous step
  if (step.front().item->submenu == nullptr) return {};
  std::vector<FoundEntry> inside =
      findEntries(*step.front().item->submenu, query.substr(split + 1), isEnabled);
  for (FoundEntry& entry : inside)
    entry.path = step.front().path + " > " + entry.path;
  return inside;
}

}  // namespace lumora::sim
