#pragma once

#include <cstddef>
#include <string_view>

namespace lumora::platform {

// Text that lives for the whole process: only a string literal can make one, so values holding it
// may be kept by the platform without copying.
class StaticText {
 public:
  template <std::size_t N>
  consteval StaticText(const char (&literal)[N])  // NOLINT(google-explicit-constructor)
      : view_(literal, N - 1) {}

  constexpr std::string_view view() const { return view_; }
  constexpr operator std::string_view() const { return view_; }  // NOLINT

  friend constexpr bool operator==(StaticText a, StaticText b) { return a.view_ == b.view_; }

 private:
  std::string_view view_;
};

}  // namespace lumora::platform
