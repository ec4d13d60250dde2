// The program's operator new: a failed request throws AllocationFailure with
// the number of bytes asked for, which the fatal error report names.
#include <cstdlib>
#include <new>

#include "window/allocation.h"

void* operator new(std::size_t bytes) {
  if (void* memory = std::malloc(bytes == 0 ? 1 : bytes)) return memory;
  throw cmdgen::AllocationFailure(bytes);
}

void operator delete(void* memory) noexcept { std::free(memory); }

void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
