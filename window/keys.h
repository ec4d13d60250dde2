// The keys that the main window looks at before the focused control gets them.
#ifndef CMDGEN_WINDOW_KEYS_H_
#define CMDGEN_WINDOW_KEYS_H_

#include <cstddef>

#include "window/layout.h"

namespace cmdgen {

/// The keys that the window handles; every other key is kOther.
enum class Key { kTab, kEnter, kEscape, kF1, kOther };

/// What becomes of a key-down.
enum class KeyAction {
  kPassToControl,  // the focused control gets the key as usual
  kFocusNext,      // the focus moves to the next control of the tab order
  kFocusPrevious,  // the focus moves to the previous control of the tab order
  kCloseWindow,    // the window is closed, as by its close button
  kSwallow,        // nothing happens, and the key goes no further
};

/// Decides what a key-down does, given the modifier keys held and the layout
/// of the focused control (nullptr when no control of the window has the
/// focus). Tab moves forward, Shift+Tab backward, and Tab with Ctrl or Alt
/// does nothing, so no tab character is ever typed into a box; Esc closes
/// the window; Enter reaches only a multi-line edit box; F1 does nothing.
/// DecideKey(Key::kEnter, false, false, false, FindControl(MainWindowLayout(), "按钮1"))
///   -> KeyAction::kSwallow
KeyAction DecideKey(Key key, bool shift, bool ctrl, bool alt, const ControlLayout* focused);

/// The index of the control after (or before, when `backwards`) the control
/// at `current_index` in the tab order, wrapping around at either end. A
/// control outside the tab order moves the focus to the first control (or
/// the last, when `backwards`).
/// NextInTabOrder(MainWindowLayout(), index of 按钮3, false) -> index of 编辑框1
std::size_t NextInTabOrder(const WindowLayout& layout, std::size_t current_index, bool backwards);

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_KEYS_H_
