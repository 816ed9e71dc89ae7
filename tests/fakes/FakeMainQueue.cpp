#include "fakes/FakeMainQueue.h"

namespace lumora::testing {

void FakeMainQueue::async(std::function<void()> work) {
  log_.add("mainQueue.async");
  pending.push_back(std::move(work));
}

void FakeMainQueue::performOnNextTurn(std::function<void()> work) {
  log_.add("mainQueue.nextTurn");
  pending.push_back(std::move(work));
}

int FakeMainQueue::drain() {
  int ran = 0;
  while (!pending.empty()) {
    auto work = std::move(pending.front());
    pending.erase(pending.begin());
    work();
    ++ran;
  }
  return ran;
}

}  // namespace lumora::testing
