// The window's layout table, key decisions and commands, without a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/allocation.h"
#include "window/commands.h"
#include "window/keys.h"
#include "window/layout.h"
#include "window/run_guard.h"

namespace cmdgen {
namespace {

std::size_t IndexOf(std::string_view name) {
  const WindowLayout& layout = MainWindowLayout();
  const ControlLayout* control = FindControl(layout, name);
  EXPECT_NE(control, nullptr) << name;
  return static_cast<std::size_t>(control - layout.controls.data());
}

std::vector<std::string_view> Names(const std::vector<std::size_t>& indices) {
  std::vector<std::string_view> names;
  for (std::size_t i : indices) names.push_back(MainWindowLayout().controls[i].name);
  return names;
}

TEST(LayoutTest, ControlsStandInStackingOrderWithoutOverlapping) {
  const WindowLayout& layout = MainWindowLayout();
  EXPECT_EQ(layout.caption, "Tarnwick——Oselmar");
  EXPECT_EQ(layout.outer_width, 566);
  EXPECT_EQ(layout.outer_height, 459);
  const std::vector<std::string_view> expected = {
      kClearButton, kCopyButton, kNoteLabel,      kEndLabel,  kStartLabel, kTemplateLabel,
      kEndBox,      kStartBox,   kGenerateButton, kOutputBox, kTemplateBox};
  ASSERT_EQ(layout.controls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ControlLayout& a = layout.controls[i];
    EXPECT_EQ(a.name, expected[i]);
    EXPECT_TRUE(a.visible && a.enabled);
    EXPECT_EQ(a.tab_order, 0);
    EXPECT_LE(a.left + a.width, layout.min_client_width) << a.name;
    EXPECT_LE(a.top + a.height, layout.min_client_height) << a.name;
    for (std::size_t j = i + 1; j < expected.size(); ++j) {
      const ControlLayout& b = layout.controls[j];
      const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                         a.top + a.height <= b.top || b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << a.name << " overlaps " << b.name;
    }
  }
}

TEST(LayoutTest, ButtonsRunTheirCommandsAndNothingElseDoes) {
  const WindowLayout& layout = MainWindowLayout();
  const std::map<std::string_view, CommandId> bound = {
      {kGenerateButton, CommandId::kGenerateIntoOutput},
      {kCopyButton, CommandId::kCopyOutputToClipboard},
      {kClearButton, CommandId::kClearOutput}};
  for (const ControlLayout& control : layout.controls) {
    const auto it = bound.find(control.name);
    EXPECT_EQ(control.click, it == bound.end() ? CommandId::kNone : it->second) << control.name;
    EXPECT_EQ(control.kind == ControlKind::kButton, it != bound.end()) << control.name;
    EXPECT_EQ(control.tab_stop, control.kind != ControlKind::kLabel) << control.name;
  }
  EXPECT_EQ(FindControl(layout, "按钮4"), nullptr);
}

TEST(LayoutTest, TabOrderFollowsCreationOrder) {
  const std::vector<std::string_view> expected = {
      kTemplateBox, kOutputBox, kGenerateButton, kStartBox, kEndBox, kCopyButton, kClearButton};
  EXPECT_EQ(Names(TabOrder(MainWindowLayout())), expected);
}

TEST(LayoutTest, TabOrderRanksByValueBeforeCreationAndSkipsUnreachableControls) {
  std::vector<ControlLayout> controls(MainWindowLayout().controls.begin(),
                                      MainWindowLayout().controls.end());
  controls[IndexOf(kClearButton)].tab_order = -1;
  controls[IndexOf(kTemplateBox)].tab_order = 1;
  controls[IndexOf(kOutputBox)].enabled = false;
  controls[IndexOf(kStartBox)].visible = false;
  WindowLayout layout = MainWindowLayout();
  layout.controls = controls;
  std::vector<std::string_view> names;
  for (std::size_t i : TabOrder(layout)) names.push_back(controls[i].name);
  const std::vector<std::string_view> expected = {kClearButton, kGenerateButton, kEndBox,
                                                  kCopyButton, kTemplateBox};
  EXPECT_EQ(names, expected);
}

TEST(LayoutTest, CentredPositionTruncatesTowardZero) {
  const WindowLayout& layout = MainWindowLayout();
  struct Case {
    std::int32_t width, height, x, y;
  } cases[] = {{1024, 768, 229, 154}, {1920, 1080, 677, 310}, {567, 460, 0, 0},
               {566, 459, 0, 0},      {565, 458, 0, 0},       {563, 456, -1, -1},
               {320, 240, -123, -109}};
  for (const Case& c : cases) {
    const Point p = CentredPosition(layout, c.width, c.height);
    EXPECT_EQ(p.x, c.x) << c.width;
    EXPECT_EQ(p.y, c.y) << c.height;
  }
}

TEST(KeysTest, DecideKey) {
  const ControlLayout* multi = FindControl(MainWindowLayout(), kOutputBox);
  const ControlLayout* template_box = FindControl(MainWindowLayout(), kTemplateBox);
  const ControlLayout* one_line = FindControl(MainWindowLayout(), kStartBox);
  const ControlLayout* button = FindControl(MainWindowLayout(), kGenerateButton);
  const ControlLayout* label = FindControl(MainWindowLayout(), kNoteLabel);
  struct Case {
    Key key;
    bool shift, ctrl, alt;
    const ControlLayout* focused;
    KeyAction action;
  } cases[] = {
      {Key::kTab, false, false, false, multi, KeyAction::kFocusNext},
      {Key::kTab, false, false, false, button, KeyAction::kFocusNext},
      {Key::kTab, false, false, false, nullptr, KeyAction::kFocusNext},
      {Key::kTab, true, false, false, multi, KeyAction::kFocusPrevious},
      {Key::kTab, false, true, false, multi, KeyAction::kSwallow},
      {Key::kTab, true, true, false, template_box, KeyAction::kSwallow},
      {Key::kTab, false, false, true, multi, KeyAction::kSwallow},
      {Key::kEscape, false, false, false, multi, KeyAction::kCloseWindow},
      {Key::kEscape, false, false, false, one_line, KeyAction::kCloseWindow},
      {Key::kEscape, true, false, false, button, KeyAction::kCloseWindow},
      {Key::kEscape, false, false, false, nullptr, KeyAction::kCloseWindow},
      {Key::kEnter, false, false, false, multi, KeyAction::kPassToControl},
      {Key::kEnter, false, false, false, template_box, KeyAction::kPassToControl},
      {Key::kEnter, true, false, false, template_box, KeyAction::kPassToControl},
      {Key::kEnter, false, false, false, one_line, KeyAction::kSwallow},
      {Key::kEnter, false, false, false, button, KeyAction::kSwallow},
      {Key::kEnter, false, false, false, label, KeyAction::kSwallow},
      {Key::kEnter, false, false, false, nullptr, KeyAction::kSwallow},
      {Key::kF1, false, false, false, multi, KeyAction::kSwallow},
      {Key::kOther, false, false, false, multi, KeyAction::kPassToControl},
      {Key::kOther, false, true, true, button, KeyAction::kPassToControl},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideKey(c.key, c.shift, c.ctrl, c.alt, c.focused), c.action)
        << static_cast<int>(c.key) << " shift " << c.shift << " ctrl " << c.ctrl << " alt " << c.alt
        << " in " << (c.focused ? c.focused->name : "nothing");
  }
}

TEST(KeysTest, NextInTabOrderWrapsBothWays) {
  const WindowLayout& layout = MainWindowLayout();
  struct Case {
    std::string_view from;
    bool backwards;
    std::string_view to;
  } cases[] = {
      {kTemplateBox, false, kOutputBox},   {kOutputBox, false, kGenerateButton},
      {kGenerateButton, false, kStartBox}, {kStartBox, false, kEndBox},
      {kEndBox, false, kCopyButton},       {kCopyButton, false, kClearButton},
      {kClearButton, false, kTemplateBox}, {kTemplateBox, true, kClearButton},
      {kStartBox, true, kGenerateButton},  {kOutputBox, true, kTemplateBox},
      {kNoteLabel, false, kTemplateBox},   {kNoteLabel, true, kClearButton},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(layout.controls[NextInTabOrder(layout, IndexOf(c.from), c.backwards)].name, c.to)
        << c.from << (c.backwards ? " backwards" : "");
  }
}

// A window of plain strings: multi-line boxes keep "\r\n" like the real ones.
class FakePort final : public WindowPort {
 public:
  FakePort() {
    for (const ControlLayout& control : MainWindowLayout().controls) {
      if (control.kind == ControlKind::kEditBox)
        boxes[std::string(control.name)] = std::string(control.initial_text);
    }
  }
  Text GetContent(std::string_view box) override { return boxes.at(std::string(box)); }
  void SetContent(std::string_view box, std::string_view text) override {
    calls.push_back("set " + std::string(box));
    boxes.at(std::string(box)) = text;
  }
  void AppendText(std::string_view box, std::span<const std::string_view> texts) override {
    calls.push_back("append " + std::string(box));
    if (fail_appends) throw AllocationFailure(texts.front().size());
    for (std::string_view text : texts) {
      appended_sizes.push_back(text.size());
      boxes.at(std::string(box)).append(text);
    }
  }
  bool SetClipboardText(std::string_view text) override {
    calls.push_back("clipboard");
    clipboard = text;
    return clipboard_works;
  }
  Encoding TextEncoding() const override { return Encoding::kUtf8; }
  bool AskToContinue(std::string_view question) override {
    calls.push_back("ask");
    questions.emplace_back(question);
    return answer;
  }
  void ShowRefusal(std::string_view message) override {
    calls.push_back("refuse");
    refusals.emplace_back(message);
  }
  std::optional<std::uint64_t> OutputMemoryFor(std::uint64_t bytes, std::uint64_t lines) override {
    if (bytes > capacity) return std::nullopt;
    return bytes * 8 + lines * 200;
  }
  std::optional<std::uint64_t> AvailableMemoryBytes() const override { return available; }
  void ShowBusy(bool busy) noexcept override { calls.push_back(busy ? "busy" : "idle"); }

  std::map<std::string, Text> boxes;
  std::vector<std::string> calls;
  std::vector<std::size_t> appended_sizes;
  Text clipboard = "before";
  bool clipboard_works = true;
  bool fail_appends = false;
  bool answer = false;
  std::vector<Text> questions;
  std::vector<Text> refusals;
  std::uint64_t capacity = std::numeric_limits<std::uint64_t>::max();
  std::optional<std::uint64_t> available = std::uint64_t{1} << 40;
};

std::string InitialBlocks(int first, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    out += "vlan " + std::to_string(1124 + (first + i) % 23) + "\r\nport Ethernet0/0/" +
           std::to_string(1 + (first + i) % 23) + "\r\nquit\r\n";
  }
  return out;
}

TEST(CommandsTest, GenerateAppendsBlocksBehindWhatIsThere) {
  FakePort port;
  port.boxes["编辑框2"] = "typed";
  RunCommand(CommandId::kGenerateIntoOutput, port);
  EXPECT_EQ(port.boxes["编辑框2"], "typed" + InitialBlocks(0, 23));
  RunCommand(CommandId::kGenerateIntoOutput, port);
  EXPECT_EQ(port.boxes["编辑框2"], "typed" + InitialBlocks(0, 46));
  EXPECT_EQ(port.boxes["编辑框1"], "vlan {1}\r\nport Ethernet0/0/{2}\r\nquit");
}

TEST(CommandsTest, GenerateWithoutStepsTouchesNothing) {
  for (const char* end : {"1123", "", "x"}) {
    FakePort port;
    port.boxes["编辑框_终止数"] = end;
    port.boxes["编辑框2"] = "kept";
    GenerateIntoOutput(port);
    EXPECT_TRUE(port.calls.empty()) << end;
    EXPECT_EQ(port.boxes["编辑框2"], "kept");
  }
  FakePort port;
  port.boxes["编辑框_起始数"] = "";
  GenerateIntoOutput(port);
  EXPECT_TRUE(port.calls.empty());
}

TEST(CommandsTest, LongRunsArriveInPiecesThatJoinToTheBlocks) {
  FakePort port;
  port.boxes["编辑框1"] = std::string(1000, 'x') + "{1}";
  port.boxes["编辑框_起始数"] = "1";
  port.boxes["编辑框_终止数"] = "3000";
  GenerateIntoOutput(port);
  std::string expected;
  for (int i = 1; i <= 3000; ++i) expected += std::string(1000, 'x') + std::to_string(i) + "\r\n";
  EXPECT_EQ(port.boxes["编辑框2"], expected);
  const std::vector<std::size_t>& pieces = port.appended_sizes;
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_GE(pieces[0], kAppendPieceBytes);
  EXPECT_LT(pieces[0], kAppendPieceBytes + 1010);
}

TEST(RunGuardTest, EstimateTakesTheFirstBlockOncePerStep) {
  struct Case {
    std::string_view template_text, start_list, end_number;
    RunEstimate estimate;
  } cases[] = {
      // "vlan 1124\r\nport Ethernet0/0/1\r\nquit" is 35 bytes and three lines.
      {"vlan {1}\r\nport Ethernet0/0/{2}\r\nquit", "1124,1", "1146", {23, 23 * 37, 23 * 3}},
      {"", "1", "3", {3, 6, 3}},
      {"a\rb\nc\r\n", "1", "10", {10, 10 * 9, 10 * 4}},
      // Later blocks may be longer: only the first one is made.
      {"{1}", "1", "1000", {1000, 3000, 1000}},
      {"x", "5", "4", {0, 0, 0}},
      {"x", "", "4", {0, 0, 0}},
      {"x",
       "-2147483648",
       "2147483647",
       {std::uint64_t{1} << 31, std::uint64_t{3} << 31, std::uint64_t{1} << 31}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EstimateRun(c.template_text, c.start_list, c.end_number, Encoding::kUtf8), c.estimate)
        << c.template_text << " " << c.start_list << " " << c.end_number;
  }
  EXPECT_EQ(CountLineBreaks("a\r\nb\nc\r"), 3u);
  EXPECT_EQ(CountLineBreaks("\n\r\r\n\n"), 4u);
  EXPECT_EQ(CountLineBreaks("none"), 0u);
}

TEST(RunGuardTest, DecidesAtEachThreshold) {
  constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
  constexpr std::optional<std::uint64_t> kUnknown;
  struct Case {
    RunEstimate estimate;
    std::optional<std::uint64_t> needed, available;
    RunDecision decision;
  } cases[] = {
      {{23, 851, 69}, 10'000, 1'000'000, RunDecision::kGo},
      {{1'000'000, 38 * kMiB, 3'000'000}, 1000, 2000, RunDecision::kGo},
      {{1'000'001, 38 * kMiB, 3'000'003}, 1000, 2000, RunDecision::kAsk},
      {{1'000, 64 * kMiB, 1'000}, 1000, 2000, RunDecision::kGo},
      {{1'000, 64 * kMiB + 1, 1'000}, 1000, 2000, RunDecision::kAsk},
      {{1'000, 64 * kMiB + 1, 1'000}, 1000, kUnknown, RunDecision::kAsk},
      // Memory: up to all that is available goes; a byte more is refused,
      // before any question.
      {{23, 851, 69}, 2000, 2000, RunDecision::kGo},
      {{23, 851, 69}, 2001, 2000, RunDecision::kRefuseMemory},
      {{2'000'000, 76 * kMiB, 6'000'000}, 2001, 2000, RunDecision::kRefuseMemory},
      {{2'000'000, 76 * kMiB, 6'000'000}, 1ull << 50, kUnknown, RunDecision::kAsk},
      {{23, 851, 69}, kUnknown, 2000, RunDecision::kRefuseCapacity},
      {{23, 851, 69}, kUnknown, kUnknown, RunDecision::kRefuseCapacity},
      {{0, 0, 0}, kUnknown, 0, RunDecision::kGo},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideRun(c.estimate, c.needed, c.available), c.decision)
        << c.estimate.blocks << " blocks, " << c.estimate.bytes << " bytes, needs "
        << c.needed.value_or(0) << " of " << c.available.value_or(0);
  }
}

TEST(RunGuardTest, BusyPointerFromATenthOfASecondOfWork) {
  EXPECT_FALSE(ShowsBusyPointer({23, 851, 69}));
  EXPECT_FALSE(ShowsBusyPointer({4094, 151'478, 12'282}));
  EXPECT_FALSE(ShowsBusyPointer({24'999, 1'048'575, 24'999}));
  EXPECT_TRUE(ShowsBusyPointer({25'000, 50'000, 25'000}));
  EXPECT_TRUE(ShowsBusyPointer({10, 1'048'576, 10}));
}

TEST(RunGuardTest, FormatsCountsAndSizes) {
  const std::pair<std::uint64_t, std::string_view> counts[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {1'000'001, "1,000,001"},
      {2'147'483'648, "2,147,483,648"},
      {std::numeric_limits<std::uint64_t>::max(), "18,446,744,073,709,551,615"}};
  for (const auto& [count, text] : counts) EXPECT_EQ(FormatCount(count), text) << count;
  constexpr std::uint64_t kKiB = 1024, kMiB = kKiB << 10, kGiB = kMiB << 10;
  const std::pair<std::uint64_t, std::string_view> sizes[] = {
      {0, "0 字节"},
      {1023, "1023 字节"},
      {kKiB, "1.0 KiB"},
      {kKiB + kKiB / 2, "1.5 KiB"},
      {10 * kKiB - 1, "10.0 KiB"},
      {10 * kKiB, "10 KiB"},
      {64 * kMiB, "64 MiB"},
      {64 * kMiB - kMiB / 2, "64 MiB"},
      {64 * kMiB - kMiB / 2 - 1, "63 MiB"},
      {kGiB + kGiB / 4, "1.3 GiB"},
      {9 * kGiB + 999 * kMiB, "10.0 GiB"},
      {std::numeric_limits<std::uint64_t>::max(), "16 EiB"}};
  for (const auto& [bytes, text] : sizes) EXPECT_EQ(FormatBytes(bytes), text) << bytes;
}

TEST(RunGuardTest, QuestionAndRefusalTexts) {
  const RunEstimate large{2'000'000, 76'000'000, 6'000'000};
  EXPECT_EQ(RunQuestion(large),
            "本次将生成 2,000,000 个块（约 72 MiB 文本），可能需要很长时间，其间窗口无法操作。"
            "\r\n\r\n是否继续？");
  EXPECT_EQ(RunRefusal({10'000'000, 380'000'000, 30'000'000}, RunDecision::kRefuseMemory,
                       std::uint64_t{5} << 30, std::uint64_t{2} << 30),
            "本次将生成 10,000,000 个块（约 362 MiB 文本），约需 5.0 GiB 内存，"
            "超出本机可用内存（约 2.0 GiB）。\r\n\r\n已取消，输出框未作改动。");
  EXPECT_EQ(RunRefusal({2'147'482'524, 79'456'853'388, 6'442'447'572}, RunDecision::kRefuseCapacity,
                       std::nullopt, std::uint64_t{1} << 30),
            "本次将生成 2,147,482,524 个块（约 74 GiB 文本），超出输出框所能容纳的文本量。"
            "\r\n\r\n已取消，输出框未作改动。");
}

TEST(CommandsTest, AVeryLargeRunAsksAndNoLeavesTheBoxAsItWas) {
  FakePort port;
  port.boxes["编辑框1"] = "x";
  port.boxes["编辑框_起始数"] = "1";
  port.boxes["编辑框_终止数"] = "1000001";
  port.boxes["编辑框2"] = "kept";
  GenerateIntoOutput(port);
  EXPECT_EQ(port.calls, std::vector<std::string>{"ask"});
  EXPECT_EQ(port.questions,
            std::vector<Text>{"本次将生成 1,000,001 个块（约 2.9 MiB 文本），可能需要很长时间，"
                              "其间窗口无法操作。\r\n\r\n是否继续？"});
  EXPECT_EQ(port.boxes["编辑框2"], "kept");

  port.calls.clear();
  port.answer = true;
  GenerateIntoOutput(port);
  ASSERT_GE(port.calls.size(), 3u);
  EXPECT_EQ(port.calls[0], "ask");
  EXPECT_EQ(port.calls[1], "busy");
  EXPECT_EQ(port.calls.back(), "idle");
  const std::string& output = port.boxes["编辑框2"];
  ASSERT_EQ(output.size(), 4 + 3 * 1'000'001u);
  EXPECT_EQ(output.substr(0, 7), "keptx\r\n");
  EXPECT_EQ(output.substr(output.size() - 3), "x\r\n");
}

TEST(CommandsTest, RefusedRunsTellWhyAndLeaveTheBoxAsItWas) {
  struct Case {
    std::string_view end_number;
    std::optional<std::uint64_t> available;
    std::uint64_t capacity;
    std::string_view refusal;
  } cases[] = {
      // 23 blocks need 851 * 8 + 69 * 200 bytes of the fake box.
      {"1146", 20'607, std::numeric_limits<std::uint64_t>::max(),
       "本次将生成 23 个块（约 851 字节 文本），约需 20 KiB 内存，超出本机可用内存（约 20 KiB）。"
       "\r\n\r\n已取消，输出框未作改动。"},
      {"3000000", std::nullopt, 1'000'000,
       "本次将生成 2,998,877 个块（约 106 MiB 文本），超出输出框所能容纳的文本量。"
       "\r\n\r\n已取消，输出框未作改动。"},
  };
  for (const Case& c : cases) {
    FakePort port;
    port.boxes["编辑框_终止数"] = c.end_number;
    port.boxes["编辑框2"] = "kept";
    port.available = c.available;
    port.capacity = c.capacity;
    GenerateIntoOutput(port);
    EXPECT_EQ(port.calls, std::vector<std::string>{"refuse"}) << c.end_number;
    EXPECT_EQ(port.refusals, std::vector<Text>{Text(c.refusal)});
    EXPECT_EQ(port.boxes["编辑框2"], "kept");
  }
  // With exactly the memory it needs, the run goes ahead without a word.
  FakePort port;
  port.available = 851 * 8 + 69 * 200;
  GenerateIntoOutput(port);
  EXPECT_EQ(port.calls, std::vector<std::string>{"append 编辑框2"});
  EXPECT_EQ(port.boxes["编辑框2"], InitialBlocks(0, 23));
}

TEST(CommandsTest, LongRunsShowTheBusyPointerUntilTheyEndHoweverTheyEnd) {
  FakePort port;
  port.boxes["编辑框_终止数"] = "10000";
  GenerateIntoOutput(port);
  ASSERT_GE(port.calls.size(), 3u);
  EXPECT_EQ(port.calls.front(), "busy");
  EXPECT_EQ(port.calls.back(), "idle");
  EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "busy"), 1);
  EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "idle"), 1);

  port.calls.clear();
  port.fail_appends = true;
  EXPECT_THROW(GenerateIntoOutput(port), AllocationFailure);
  EXPECT_EQ(port.calls, (std::vector<std::string>{"busy", "append 编辑框2", "idle"}));
}

TEST(CommandsTest, CopyHandsTheOutputToTheClipboardWhateverItSays) {
  FakePort port;
  port.boxes["编辑框2"] = "a\r\nb 中\t";
  port.clipboard_works = false;
  CopyOutputToClipboard(port);
  EXPECT_EQ(port.clipboard, "a\r\nb 中\t");
  ClearOutput(port);
  RunCommand(CommandId::kCopyOutputToClipboard, port);
  EXPECT_EQ(port.clipboard, "");
  EXPECT_EQ(port.calls, (std::vector<std::string>{"clipboard", "set 编辑框2", "clipboard"}));
}

TEST(CommandsTest, NoneRunsNothing) {
  FakePort port;
  RunCommand(CommandId::kNone, port);
  EXPECT_TRUE(port.calls.empty());
}

}  // namespace
}  // namespace cmdgen
