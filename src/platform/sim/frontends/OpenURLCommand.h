#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

namespace lumora::sim {

// How long `lumora-virir --open` waits for the app's answer.
inline constexpr std::chrono::seconds openAnswerWait{5};

// `lumora-virir --open URL`: hands the URL to the app listening at `socket` and prints its
// answer. The exit status: 0 when the app did it, 2 when it refused (the reason on standard
// error, as for a bad option), 1 when no app is running or none answered in time.
int openURLInRunningApp(const std::filesystem::path& socket, std::string_view url);

}  // namespace lumora::sim
