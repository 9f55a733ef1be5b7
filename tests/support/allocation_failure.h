#pragma once

// Allocations that fail on purpose. A test program that uses this replaces the global operator
// new with one that throws std::bad_alloc on the calling thread while an AllocationFailure lives
// there, the way an exhausted heap makes the standard library throw. Other threads allocate as
// usual.

#include <cstddef>

namespace testing_support {

class AllocationFailure {
 public:
  AllocationFailure();
  AllocationFailure(const AllocationFailure&) = delete;
  AllocationFailure& operator=(const AllocationFailure&) = delete;
  ~AllocationFailure();

  // The allocations refused so far: a test checks that its subject reached one.
  int refused() const;
};

}  // namespace testing_support
