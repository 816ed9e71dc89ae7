#include "fakes/FakeTerminationSignals.h"

namespace lumora::testing {

void FakeTerminationSignals::install(std::function<void()> newHandler) {
  handler = std::move(newHandler);
  ++installs;
}

void FakeTerminationSignals::exitProcess(int status) {
  throw ProcessExited{status};
}

}  // namespace lumora::testing
