// The number of heap allocations the process has made so far
// (tests/support/heap_counting.cpp counts them).
#pragma once

namespace navo::testing {

long HeapAllocations();

}  // namespace navo::testing
