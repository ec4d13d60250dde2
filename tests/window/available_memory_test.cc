// Reading how much memory the process can still be given on Linux.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "window/qt/available_memory.h"

namespace cmdgen {
namespace {

using detail::CgroupRoom;
using detail::ParseCgroupPath;
using detail::ParseMemAvailable;

TEST(AvailableMemoryTest, ReadsMemAvailable) {
  EXPECT_EQ(ParseMemAvailable("MemTotal:       24683572 kB\n"
                              "MemFree:        22000000 kB\n"
                              "MemAvailable:   23991680 kB\n"
                              "Buffers:           12345 kB\n"),
            std::optional<std::uint64_t>(23991680ull * 1024));
  EXPECT_EQ(ParseMemAvailable("MemAvailable: 4 kB"), std::optional<std::uint64_t>(4096));
  // A kernel too old to tell, a line that is not in kB, or one without a number.
  EXPECT_EQ(ParseMemAvailable("MemTotal: 8 kB\nMemFree: 4 kB\n"), std::nullopt);
  EXPECT_EQ(ParseMemAvailable("MemAvailable: 4 MB\n"), std::nullopt);
  EXPECT_EQ(ParseMemAvailable("MemAvailable: kB\n"), std::nullopt);
  EXPECT_EQ(ParseMemAvailable("XMemAvailable: 4 kB\n"), std::nullopt);
  EXPECT_EQ(ParseMemAvailable(""), std::nullopt);
}

TEST(AvailableMemoryTest, FindsTheUnifiedControlGroup) {
  EXPECT_EQ(ParseCgroupPath("0::/user.slice/user-1000.slice/session-2.scope\n"),
            std::optional<std::string>("/user.slice/user-1000.slice/session-2.scope"));
  EXPECT_EQ(ParseCgroupPath("12:memory:/docker/abc\n0::/\n"), std::optional<std::string>("/"));
  // Only the version 1 hierarchies: no unified group to read.
  EXPECT_EQ(ParseCgroupPath("12:memory:/docker/abc\n11:cpu:/docker/abc\n"), std::nullopt);
  EXPECT_EQ(ParseCgroupPath(""), std::nullopt);
}

TEST(AvailableMemoryTest, RoomUnderAControlGroupLimit) {
  EXPECT_EQ(CgroupRoom("1073741824\n", "73741824\n"), std::optional<std::uint64_t>(1000000000));
  EXPECT_EQ(CgroupRoom("100\n", "150\n"), std::optional<std::uint64_t>(0));
  EXPECT_EQ(CgroupRoom("max\n", "150\n"), std::nullopt);
  // Files that are not there read as empty.
  EXPECT_EQ(CgroupRoom("", ""), std::nullopt);
}

TEST(AvailableMemoryTest, ThisMachineTellsNoMoreThanItHas) {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::uint64_t total_kib = 0;
  ASSERT_TRUE(meminfo >> key >> total_kib);
  ASSERT_EQ(key, "MemTotal:");
  const std::optional<std::uint64_t> available = AvailableMemory();
  ASSERT_TRUE(available.has_value());
  EXPECT_GT(*available, 0u);
  EXPECT_LE(*available, total_kib * 1024);
}

}  // namespace
}  // namespace cmdgen
