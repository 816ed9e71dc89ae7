#include "platform/sim/machine/FolderClaims.h"

#include <sys/stat.h>

#include <algorithm>

namespace lumora::sim {

FolderClaims& FolderClaims::process() {
  // Never destroyed: the locks last until the process ends, however it ends.
  static FolderClaims* const claims = new FolderClaims();
  return *claims;
}

FolderClaims::Outcome FolderClaims::claim(const std::filesystem::path& folder) {
  InstanceLock::Attempt attempt = InstanceLock::acquire(folder, true);
  if (!attempt.lock) return Outcome{.refused = true, .holder = attempt.holder, .note = {}};
  const std::lock_guard lock(mutex_);
  claims_.push_back(Claim{.folder = folder, .locks = {}, .replaced = false, .tried = {}});
  claims_.back().locks.push_back(std::move(*attempt.lock));
  return Outcome{.refused = false, .holder = 0, .note = std::move(attempt.note)};
}

FolderClaims::Check FolderClaims::check(const std::filesystem::path& folder) {
  const std::lock_guard lock(mutex_);
  const auto claim = std::find_if(claims_.begin(), claims_.end(),
                                  [&folder](const Claim& each) { return each.folder == folder; });
  // A folder whose lock took nothing (it could not be opened) has nothing to compare with.
  if (claim == claims_.end() || !claim->locks.front().holdsFolder()) return Check{};

  struct stat info {};
  const bool there = ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  if (!claim->replaced && there && claim->locks.front().isOf(info)) return Check{};

  Check check{.replaced = true, .news = std::nullopt};
  if (!claim->replaced) {
    claim->replaced = true;
    check.news = folder.string() + " was moved or replaced while Lumora Virir ran; nothing more " +
                 "is saved there until the app starts again.";
  }
  if (there) lockReplacement(*claim, info);
  return check;
}

void FolderClaims::lockReplacement(Claim& claim, const struct stat& info) {
  const bool locked = std::any_of(claim.locks.begin(), claim.locks.end(),
                                  [&info](const InstanceLock& each) { return each.isOf(info); });
  const auto identity = std::make_pair(info.st_dev, info.st_ino);
  if (locked || std::find(claim.tried.begin(), claim.tried.end(), identity) != claim.tried.end()) {
    return;
  }
  // Tried once: a folder that another app took first stays its.
  claim.tried.push_back(identity);
  // Not made again here: a folder that is gone stays gone until someone makes it.
  InstanceLock::Attempt attempt = InstanceLock::acquire(claim.folder, false);
  if (attempt.lock && attempt.lock->isOf(info)) claim.locks.push_back(std::move(*attempt.lock));
}

}  // namespace lumora::sim
