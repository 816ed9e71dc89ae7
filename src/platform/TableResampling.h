#pragma once

#include <span>

namespace lumora::platform {

// A gamma table at another size: `to` is filled with `from` read at evenly spaced places, linearly
// between its entries. Both tables span the same input range, so the first and the last entries
// carry over exactly. Equal sizes copy; a single entry in `from` fills `to` with it; an empty
// `from` leaves `to` as it is. Allocates nothing.
void resampleTable(std::span<const float> from, std::span<float> to);

}  // namespace lumora::platform
