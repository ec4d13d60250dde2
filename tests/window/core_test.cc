// The window's layout table, key decisions and commands, without a window.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "window/commands.h"
#include "window/keys.h"
#include "window/layout.h"

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

  std::map<std::string, Text> boxes;
  std::vector<std::string> calls;
  std::vector<std::size_t> appended_sizes;
  Text clipboard = "before";
  bool clipboard_works = true;
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
