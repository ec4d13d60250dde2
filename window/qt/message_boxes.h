// The modal boxes through which a command asks the user or tells them why
// it does not go ahead, and the seam that lets tests answer in their place.
#ifndef CMDGEN_WINDOW_QT_MESSAGE_BOXES_H_
#define CMDGEN_WINDOW_QT_MESSAGE_BOXES_H_

#include <functional>
#include <string_view>

class QWidget;

namespace cmdgen {

/// The boxes a QtWindowPort shows; tests put functions of their own here so
/// that no test waits on a modal box.
struct MessageBoxes {
  /// Asks a yes/no question, modal over `parent`; true for Yes.
  std::function<bool(QWidget* parent, std::string_view caption, std::string_view text)> ask;
  /// Shows a notice with one OK button, modal over `parent`, until it is closed.
  std::function<void(QWidget* parent, std::string_view caption, std::string_view text)> tell;
};

/// A question box with the question icon and the buttons 是 (Yes) and 否
/// (No), No the default and the answer of Esc; "\r\n" in the text breaks the
/// line. True when the user chose Yes.
/// AskInMessageBox(window, "确认", "是否继续？") -> false once the user presses Enter
bool AskInMessageBox(QWidget* parent, std::string_view caption, std::string_view text);

/// A notice box with the warning icon and one button, 确定 (OK).
/// TellInMessageBox(window, "提示", "已取消。") -> returns once 确定 is clicked
void TellInMessageBox(QWidget* parent, std::string_view caption, std::string_view text);

/// The real boxes: AskInMessageBox and TellInMessageBox.
MessageBoxes RealMessageBoxes();

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_QT_MESSAGE_BOXES_H_
