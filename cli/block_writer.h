// A buffered writer onto a file descriptor, for the generated blocks.
#ifndef CMDGEN_CLI_BLOCK_WRITER_H_
#define CMDGEN_CLI_BLOCK_WRITER_H_

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace cmdgen::cli {

/// Writes all the bytes to the descriptor, resuming after short writes and
/// interruptions; returns 0, or the errno value of the write that failed.
/// WriteFully(1, "vlan 5\r\n") -> 0
int WriteFully(int fd, std::string_view bytes);

/// Collects bytes in a buffer of fixed size and hands them to write(2) each
/// time it is full, so that memory does not grow with the amount of output.
/// After the first failed write it keeps the error and writes nothing more.
/// The descriptor stays open; closing it is the owner's job.
class BlockWriter {
 public:
  static constexpr std::size_t kDefaultCapacity = std::size_t{128} * 1024;

  /// BlockWriter(1).Append("vlan 5") -> true, with nothing written yet
  explicit BlockWriter(int fd, std::size_t capacity = kDefaultCapacity);
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  /// Adds the bytes behind those before them; false once a write has failed.
  /// Append("quit") -> true
  bool Append(std::string_view bytes) {
    if (bytes.size() <= capacity_ - used_ && error_ == 0) {
      if (!bytes.empty()) std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
      used_ += bytes.size();
      return true;
    }
    return AppendPastEnd(bytes);
  }

  /// Adds a block and its line end behind what is there, with one check for
  /// both; false once a write has failed.
  /// AppendLine("quit", "\r\n") -> true
  bool AppendLine(std::string_view block, std::string_view line_end) {
    const std::size_t size = block.size() + line_end.size();
    if (size <= capacity_ - used_ && error_ == 0) {
      char* out = buffer_.get() + used_;
      if (!block.empty()) std::memcpy(out, block.data(), block.size());
      out += block.size();
      // The line end is one or two bytes: a loop beats a call to memcpy.
      for (const char c : line_end) *out++ = c;
      used_ += size;
      return true;
    }
    return Append(block) && Append(line_end);
  }

  /// Writes out what the buffer holds; false once a write has failed.
  /// Flush() -> true
  bool Flush();

  /// The errno value of the failed write, or 0 while every write succeeded.
  /// error() -> ENOSPC after writing to /dev/full
  int error() const { return error_; }

 private:
  bool AppendPastEnd(std::string_view bytes);
  bool Write(std::string_view bytes);

  int fd_;
  std::size_t capacity_;
  std::size_t used_ = 0;
  int error_ = 0;
  std::unique_ptr<char[]> buffer_;
};

}  // namespace cmdgen::cli

#endif  // CMDGEN_CLI_BLOCK_WRITER_H_
