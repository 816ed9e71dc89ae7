#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

namespace lumora::testing {

// The user the tests become when they are run by root: nobody.
inline constexpr uid_t unprivilegedUser = 65534;

inline bool runningAsRoot() {
  return ::geteuid() == 0;
}

// Whether `user` may run the file at `path`: every folder on the way open to it, and the file
// executable. A temporary folder that is private to root is not.
inline bool canRun(uid_t user, const std::filesystem::path& path) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(user) != 0 || ::setuid(user) != 0) ::_exit(2);
    ::_exit(::access(path.c_str(), X_OK) == 0 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs `body` in a child process as an ordinary user, so that file permissions apply to it as to
// anyone: as nobody, owning `folder` and everything in it but `notOwned`, when the tests run as
// root; as this user otherwise. True when the body returned true.
inline bool asOrdinaryUser(const std::filesystem::path& folder, const std::function<bool()>& body,
                           const std::filesystem::path& notOwned = {}) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    if (runningAsRoot()) {
      std::error_code ignored;
      [[maybe_unused]] int changed = ::chown(folder.c_str(), unprivilegedUser, unprivilegedUser);
      for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored)) {
        if (entry.path() == notOwned) continue;
        changed = ::lchown(entry.path().c_str(), unprivilegedUser, unprivilegedUser);
      }
      if (::setgid(unprivilegedUser) != 0 || ::setuid(unprivilegedUser) != 0) ::_exit(2);
    }
    const bool passed = body();
    std::fflush(nullptr);
    ::_exit(passed ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace lumora::testing
