#include "platform/TableResampling.h"

#include <algorithm>
#include <cstddef>

namespace lumora::platform {

void resampleTable(std::span<const float> from, std::span<float> to) {
  if (from.empty() || to.empty()) return;
  if (from.size() == to.size()) {
    std::copy(from.begin(), from.end(), to.begin());
    return;
  }
  if (to.size() == 1) {
    to[0] = from[0];
    return;
  }
  // Entry i of `to` stands at i * (from.size() - 1) / (to.size() - 1) in `from`, worked out in
  // whole numbers so that the ends land exactly on `from`'s ends.
  const std::size_t fromSteps = from.size() - 1;
  const std::size_t toSteps = to.size() - 1;
  for (std::size_t i = 0; i < to.size(); ++i) {
    const std::size_t scaled = i * fromSteps;
    const std::size_t below = scaled / toSteps;
    const std::size_t above = std::min(below + 1, fromSteps);
    const float weight = static_cast<float>(scaled % toSteps) / static_cast<float>(toSteps);
    to[i] = from[below] + (from[above] - from[below]) * weight;
  }
}

}  // namespace lumora::platform
