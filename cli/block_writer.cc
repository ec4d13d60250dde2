#include "cli/block_writer.h"

#include <unistd.h>  // write

#include <algorithm>
#include <cerrno>

namespace cmdgen::cli {
namespace {

// Linux writes at most about 2 GiB per call; smaller pieces keep every count
// well inside ssize_t.
constexpr std::size_t kMaxWrite = std::size_t{1} << 30;

}  // namespace

int WriteFully(int fd, std::string_view bytes) {
  const char* data = bytes.data();
  std::size_t size = bytes.size();
  while (size > 0) {
    const ssize_t written = ::write(fd, data, std::min(size, kMaxWrite));
    if (written < 0 && errno == EINTR) continue;
    // A write that takes nothing would repeat forever; call it an I/O error.
    if (written <= 0) return written < 0 ? errno : EIO;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

BlockWriter::BlockWriter(int fd, std::size_t capacity)
    : fd_(fd),
      capacity_(std::max<std::size_t>(capacity, 1)),
      buffer_(std::make_unique_for_overwrite<char[]>(capacity_)) {}

bool BlockWriter::Flush() {
  if (error_ != 0) return false;
  const std::size_t size = used_;
  used_ = 0;
  return Write({buffer_.get(), size});
}

bool BlockWriter::AppendPastEnd(std::string_view bytes) {
  if (!Flush()) return false;
  // A piece at least as big as the buffer gains nothing from a copy.
  if (bytes.size() >= capacity_) return Write(bytes);
  std::memcpy(buffer_.get(), bytes.data(), bytes.size());
  used_ = bytes.size();
  return true;
}

bool BlockWriter::Write(std::string_view bytes) {
  error_ = WriteFully(fd_, bytes);
  return error_ == 0;
}

}  // namespace cmdgen::cli
