#include "cli/block_writer.h"

#include <fcntl.h>   // open
#include <unistd.h>  // pipe, read, close

#include <cerrno>
#include <string>

#include <gtest/gtest.h>

namespace cmdgen::cli {
namespace {

std::string ReadToEnd(int fd) {
  std::string bytes;
  char chunk[4096];
  for (ssize_t count; (count = ::read(fd, chunk, sizeof chunk)) > 0;) {
    bytes.append(chunk, static_cast<std::size_t>(count));
  }
  return bytes;
}

// Pieces shorter than, as long as and longer than the free room and the whole
// buffer must all come out in order.
TEST(BlockWriterTest, KeepsTheOrderAcrossTheBufferEdge) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  std::string expected;
  {
    BlockWriter writer(fds[1], 8);
    for (const std::string piece :
         {"abc", "", "defgh", "ijklmnop", "q", "rstuvwxyz0123", "45", "6789ABC", "D"}) {
      EXPECT_TRUE(writer.Append(piece)) << piece;
      expected += piece;
    }
    EXPECT_TRUE(writer.Flush());
    EXPECT_EQ(writer.error(), 0);
  }
  ::close(fds[1]);
  EXPECT_EQ(ReadToEnd(fds[0]), expected);
  ::close(fds[0]);
}

TEST(BlockWriterTest, HoldsBytesUntilTheBufferIsFull) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  ASSERT_EQ(::fcntl(fds[0], F_SETFL, O_NONBLOCK), 0);
  BlockWriter writer(fds[1], 4);
  char byte = 0;
  EXPECT_TRUE(writer.Append("abcd"));
  EXPECT_EQ(::read(fds[0], &byte, 1), -1);
  EXPECT_TRUE(writer.Append("e"));
  EXPECT_EQ(ReadToEnd(fds[0]), "abcd");
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST(BlockWriterTest, KeepsTheFirstErrorAndWritesNothingMore) {
  const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  BlockWriter writer(fd, 4);
  EXPECT_TRUE(writer.Append("ab"));
  EXPECT_FALSE(writer.Append("cdef"));
  EXPECT_EQ(writer.error(), ENOSPC);
  EXPECT_FALSE(writer.Append("g"));
  EXPECT_FALSE(writer.Flush());
  EXPECT_EQ(writer.error(), ENOSPC);
  ::close(fd);
}

}  // namespace
}  // namespace cmdgen::cli
