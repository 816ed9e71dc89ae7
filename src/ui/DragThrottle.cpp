#include "ui/DragThrottle.h"

namespace lumora::ui {

bool DragThrottle::admits(bool endsDrag) {
  if (endsDrag) {
    since_.reset();
    return true;
  }
  const std::chrono::steady_clock::time_point now = clock_();
  if (!since_) {
    since_ = now;
    return false;
  }
  if (now - *since_ < interval_) return false;
  since_ = now;
  return true;
}

}  // namespace lumora::ui
