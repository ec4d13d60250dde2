// The fatal error report and the routing of clicks, each ending of the
// program watched from a child process.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/dispatch.h"
#include "app/fatal_error.h"
#include "window/allocation.h"

namespace cmdgen {
namespace {

TEST(FatalReportTextTest, JoinsTheHeadingCodeAndMessage) {
  struct Case {
    std::int32_t code;
    std::string_view message;
    std::string_view text;
  } cases[] = {
      {0, "载入启动窗口失败", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {0, "", "运行时出错!\r\n\r\n"},
      {5, "", "运行时出错!\r\n\r\n错误代码：5\r\n\r\n"},
      {-1, "x", "运行时出错!\r\n\r\n错误代码：-1\r\n\r\n错误信息：x\r\n"},
      {std::numeric_limits<std::int32_t>::min(), "分配 8 字节内存失败!",
       "运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n错误信息：分配 8 字节内存失败!\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FatalReportText(c.code, c.message), c.text) << c.code;
}

TEST(FatalReportTextTest, AllocationMessageKeepsTheFullSize) {
  EXPECT_EQ(AllocationFailureMessage(0), "分配 0 字节内存失败!");
  EXPECT_EQ(AllocationFailureMessage(4294967296), "分配 4294967296 字节内存失败!");
  EXPECT_EQ(AllocationFailureMessage(std::numeric_limits<std::size_t>::max()),
            "分配 18446744073709551615 字节内存失败!");
}

// Tells on the standard error stream what it was given and whether the
// program was already stopping, as a message box would show it.
void RecordingPresenter(std::string_view caption, std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    if (c == '\r') c = 'R';
    if (c == '\n') c = 'N';
  }
  std::fprintf(stderr, "[%.*s|%s|%s]\n", static_cast<int>(caption.size()), caption.data(),
               shown.c_str(), IsStopping() ? "stopping" : "running");
}

using FatalErrorDeathTest = ::testing::Test;

TEST_F(FatalErrorDeathTest, ReportShowsTheTextWhileStoppingAndEndsWithMinusOne) {
  EXPECT_EXIT(
      {
        SetFatalReportPresenter(&RecordingPresenter);
        ReportFatalError(0, kWindowLoadFailed);
      },
      ::testing::ExitedWithCode(255),
      "\\[错误\\|运行时出错!RNRN错误信息：载入启动窗口失败RN\\|stopping\\]");
}

TEST_F(FatalErrorDeathTest, WithoutABoxTheReportGoesToStandardError) {
  EXPECT_EXIT(ReportFatalError(0, kWindowLoadFailed), ::testing::ExitedWithCode(255),
              "^错误\n运行时出错!\n\n错误信息：载入启动窗口失败\n$");
}

class FakePort final : public WindowPort {
 public:
  Text GetContent(std::string_view box) override {
    if (box == kOutputBox && output_size > 0) return Text(output_size, 'x');
    return boxes[std::string(box)];
  }
  void SetContent(std::string_view box, std::string_view text) override {
    boxes[std::string(box)] = text;
  }
  void AppendText(std::string_view box, std::span<const std::string_view> texts) override {
    for (std::string_view text : texts) boxes[std::string(box)] += text;
  }
  bool SetClipboardText(std::string_view text) override {
    clipboard = text;
    return true;
  }
  Encoding TextEncoding() const override { return Encoding::kUtf8; }
  bool AskToContinue(std::string_view) override { return false; }
  void ShowRefusal(std::string_view) override {}
  std::optional<std::uint64_t> OutputMemoryFor(std::uint64_t bytes, std::uint64_t) override {
    return bytes;
  }
  std::optional<std::uint64_t> AvailableMemoryBytes() const override { return std::nullopt; }
  void ShowBusy(bool) noexcept override {}

  std::map<std::string, Text> boxes = {{"编辑框2", "output"}};
  Text clipboard;
  std::size_t output_size = 0;
};

TEST(RouteClickTest, RunsTheBoundCommand) {
  FakePort port;
  RouteClick(CommandId::kCopyOutputToClipboard, port);
  EXPECT_EQ(port.clipboard, "output");
  RouteClick(CommandId::kClearOutput, port);
  EXPECT_EQ(port.boxes["编辑框2"], "");
}

TEST_F(FatalErrorDeathTest, NoCommandRunsOnceStopping) {
  EXPECT_EXIT(
      {
        FakePort port;
        SetStopping();
        RouteClick(CommandId::kClearOutput, port);
        RouteClick(CommandId::kCopyOutputToClipboard, port);
        std::exit(port.boxes["编辑框2"] == "output" && port.clipboard.empty() ? 3 : 4);
      },
      ::testing::ExitedWithCode(3), "");
}

TEST_F(FatalErrorDeathTest, MemoryThatCannotBeHadIsReportedWithItsFullSize) {
  // Far beyond any address space: the request fails at once, and the size,
  // the text's bytes and its terminating NUL, does not fit in 32 bits.
  constexpr std::size_t kBytes = std::size_t{1} << 60;
  EXPECT_EXIT(
      {
        FakePort port;
        port.output_size = kBytes;
        RouteClick(CommandId::kCopyOutputToClipboard, port);
      },
      ::testing::ExitedWithCode(255), "错误信息：分配 1152921504606846977 字节内存失败!");
}

TEST(AllocationTest, FailedRequestsCarryTheirSize) {
  constexpr std::size_t kBytes = std::size_t{1} << 61;
  try {
    void* memory = ::operator new(kBytes);
    ::operator delete(memory);
    FAIL() << "an allocation of 2^61 bytes succeeded";
  } catch (const AllocationFailure& failure) {
    EXPECT_EQ(failure.bytes(), kBytes);
  }
  // The nothrow and array forms go through the same operator new.
  EXPECT_EQ(new (std::nothrow) char[kBytes], nullptr);
  EXPECT_THROW(static_cast<void>(std::vector<char>(kBytes)), AllocationFailure);
}

}  // namespace
}  // namespace cmdgen
