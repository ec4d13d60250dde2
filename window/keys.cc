#include "window/keys.h"

#include <algorithm>
#include <vector>

namespace cmdgen {

KeyAction DecideKey(Key key, bool shift, bool ctrl, bool alt, const ControlLayout* focused) {
  switch (key) {
    case Key::kTab:
      if (ctrl || alt) return KeyAction::kSwallow;
      return shift ? KeyAction::kFocusPrevious : KeyAction::kFocusNext;
    case Key::kEscape:
      return KeyAction::kCloseWindow;
    case Key::kEnter:
      if (focused != nullptr && focused->kind == ControlKind::kEditBox && focused->multi_line) {
        return KeyAction::kPassToControl;
      }
      return KeyAction::kSwallow;
    case Key::kF1:
      return KeyAction::kSwallow;
    case Key::kOther:
      break;
  }
  return KeyAction::kPassToControl;
}

std::size_t NextInTabOrder(const WindowLayout& layout, std::size_t current_index, bool backwards) {
  const std::vector<std::size_t> order = TabOrder(layout);
  if (order.empty()) return current_index;
  const auto here = std::find(order.begin(), order.end(), current_index);
  if (here == order.end()) return backwards ? order.back() : order.front();
  const auto position = static_cast<std::size_t>(here - order.begin());
  if (backwards) return order[(position + order.size() - 1) % order.size()];
  return order[(position + 1) % order.size()];
}

}  // namespace cmdgen
