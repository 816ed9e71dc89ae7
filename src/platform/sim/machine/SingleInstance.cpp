#include "platform/sim/machine/SingleInstance.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/sim/machine/AtomicFile.h"
#include "platform/sim/machine/FolderClaims.h"

namespace lumora::sim {
namespace {

void say(const std::string& line) {
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

void claim(const std::filesystem::path& folder, SecondInstance second) {
  const FolderClaims::Outcome outcome = FolderClaims::process().claim(folder);
  if (outcome.refused) {
    const std::string who =
        outcome.holder > 0 ? " (process " + std::to_string(outcome.holder) + ")" : "";
    say("Lumora Virir is already running" + who + " with the files in " + folder.string() +
        (second == SecondInstance::fails ? "; quit it first, then check the display again.\n"
                                         : "; this one ends.\n"));
    std::fflush(nullptr);
    _exit(second == SecondInstance::fails ? 1 : 0);
  }
  if (!outcome.note.empty()) say("Lumora Virir: " + outcome.note + "\n");
}

}  // namespace

void becomeTheOnlyInstance(const SimPaths& paths, SecondInstance second) {
  claim(paths.displayStateFile.parent_path(), second);
  if (paths.defaultsFile.parent_path() != paths.displayStateFile.parent_path()) {
    claim(paths.defaultsFile.parent_path(), second);
  }
  removeLeftoverTemporaryFiles(paths.displayStateFile);
  removeLeftoverTemporaryFiles(paths.defaultsFile);
}

}  // namespace lumora::sim
