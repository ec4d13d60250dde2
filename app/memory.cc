// The program's operator new: as the standard one, but a request that cannot
// be met throws AllocationFailure, which carries the number of bytes asked
// for, so that the fatal error report can name it. The array and nothrow
// forms of the library call this one.
#include <cstdlib>
#include <new>

#include "window/allocation.h"

void* operator new(std::size_t size) {
  for (;;) {
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw cmdgen::AllocationFailure(size);
    handler();
  }
}

void operator delete(void* memory) noexcept { std::free(memory); }

void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
