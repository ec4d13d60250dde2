// The failure to obtain memory, carrying the number of bytes asked for.
#ifndef CMDGEN_WINDOW_ALLOCATION_H_
#define CMDGEN_WINDOW_ALLOCATION_H_

#include <cstddef>
#include <new>

namespace cmdgen {

/// Thrown where a request for memory fails, so that the fatal error report
/// can name the size that was asked for.
/// AllocationFailure(1u << 31).bytes() -> 2147483648
class AllocationFailure : public std::bad_alloc {
 public:
  explicit AllocationFailure(std::size_t bytes) noexcept : bytes_(bytes) {}
  std::size_t bytes() const noexcept { return bytes_; }
  const char* what() const noexcept override { return "cmdgen: memory allocation failed"; }

 private:
  std::size_t bytes_;
};

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_ALLOCATION_H_
