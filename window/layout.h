// The main window's fixed layout: its properties and its eleven controls.
#ifndef CMDGEN_WINDOW_LAYOUT_H_
#define CMDGEN_WINDOW_LAYOUT_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace cmdgen {

/// What the window system creates for a control.
enum class ControlKind { kEditBox, kButton, kLabel };

/// The command that a push button's click runs.
enum class CommandId { kNone, kGenerateIntoOutput, kCopyOutputToClipboard, kClearOutput };

/// One control of the window. Places are in pixels relative to the top-left
/// corner of the client area; sizes are outer sizes, border included. Texts
/// are UTF-8 and break lines with "\r\n".
struct ControlLayout {
  ControlKind kind;
  std::string_view name;
  std::int32_t left, top, width, height;
  std::string_view initial_text;
  bool visible, enabled, tab_stop;
  std::int32_t tab_order;
  CommandId click;
  /// Edit boxes: several lines, Enter starts a new one.
  bool multi_line;
  /// Edit boxes: a vertical scroll bar is shown.
  bool vertical_scroll_bar;
  /// Multi-line edit boxes and labels: long lines wrap at the right edge
  /// (labels at word boundaries, honouring "\r\n"); otherwise one line.
  bool word_wrap;
  /// Labels: the text is centred vertically; otherwise it starts at the top.
  bool centre_vertically;
};

/// The window's properties and its controls, in stacking order (topmost
/// first); the controls are created in the reverse of this order.
struct WindowLayout {
  std::string_view caption;
  /// Frame and caption bar included.
  std::int32_t outer_width, outer_height;
  /// The least client area that holds every control.
  std::int32_t min_client_width, min_client_height;
  std::span<const ControlLayout> controls;
  /// The program icon's resource name on platforms that have icon resources.
  std::string_view icon_resource;
};

inline constexpr std::string_view kTemplateBox = "编辑框1";
inline constexpr std::string_view kOutputBox = "编辑框2";
inline constexpr std::string_view kStartBox = "编辑框_起始数";
inline constexpr std::string_view kEndBox = "编辑框_终止数";
inline constexpr std::string_view kGenerateButton = "按钮1";
inline constexpr std::string_view kCopyButton = "按钮2";
inline constexpr std::string_view kClearButton = "按钮3";
inline constexpr std::string_view kTemplateLabel = "标签1";
inline constexpr std::string_view kStartLabel = "标签2";
inline constexpr std::string_view kEndLabel = "标签3";
inline constexpr std::string_view kNoteLabel = "标签4";

/// The usage note shown by 标签4.
inline constexpr std::string_view kUsageNote =
    "说明：\r\n"
    "本软件是在工作中遇到重复输入一些命令时工作量大且容易出错情况下编写怕，使用简单。\r\n"
    "要生成的内容中，{1}表示第一个要递增的数，{2}表示第二个要递增的数；\r\n"
    "起始数中每个要递增的数的起始数用“,”隔开；\r\n"
    "终止数只要写第一个要递增的数的终止数；\r\n"
    "最后点生成即可。";

/// The one main window of the program.
/// MainWindowLayout().caption -> "Tarnwick——Oselmar"
const WindowLayout& MainWindowLayout();

/// The control of that name, or nullptr.
/// FindControl(MainWindowLayout(), "按钮1")->click -> CommandId::kGenerateIntoOutput
const ControlLayout* FindControl(const WindowLayout& layout, std::string_view name);

/// Indices into `layout.controls` of the visible, enabled tab-stop controls,
/// ranked by tab-order value, ties in creation order (the reverse of the list).
/// TabOrder(MainWindowLayout()) -> indices of 编辑框1, 编辑框2, 按钮1, 编辑框_起始数,
/// 编辑框_终止数, 按钮2, 按钮3
std::vector<std::size_t> TabOrder(const WindowLayout& layout);

struct Point {
  std::int32_t x, y;
};

/// The outer top-left corner that centres the window on a display of that
/// size: (display - outer) / 2, truncated toward zero; negative on a display
/// smaller than the window.
/// CentredPosition(MainWindowLayout(), 1024, 768) -> {229, 154}
Point CentredPosition(const WindowLayout& layout, std::int32_t screen_width,
                      std::int32_t screen_height);

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_LAYOUT_H_
