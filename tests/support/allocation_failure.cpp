#include "tests/support/allocation_failure.h"

#include <cstdlib>
#include <new>

namespace testing_support {

namespace {

thread_local int failing = 0;
thread_local int refusals = 0;

void* Allocate(std::size_t size) {
  if (failing > 0) {
    ++refusals;
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

}  // namespace

AllocationFailure::AllocationFailure() {
  ++failing;
  refusals = 0;
}

AllocationFailure::~AllocationFailure() { --failing; }

int AllocationFailure::refused() const { return refusals; }

}  // namespace testing_support

// The replacements: every form of new and delete, so that what one allocates the other frees.
void* operator new(std::size_t size) { return testing_support::Allocate(size); }
void* operator new[](std::size_t size) { return testing_support::Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return testing_support::Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return testing_support::Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
