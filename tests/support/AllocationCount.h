#pragma once

#include <cstddef>

namespace lumora::testing {

// Heap allocations made by this process so far, counted by the global operator new that the
// program linking AllocationCount.cpp gets.
std::size_t allocationCount();

}  // namespace lumora::testing
