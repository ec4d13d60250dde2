#include "window/win32/keyboard.h"

#include <windows.h>

namespace cmdgen::win32 {

Key KeyFromVirtualKey(std::uintptr_t virtual_key) {
  switch (virtual_key) {
    case VK_TAB:
      return Key::kTab;
    // The Enter key of the numeric keypad has the same code.
    case VK_RETURN:
      return Key::kEnter;
    case VK_ESCAPE:
      return Key::kEscape;
    case VK_F1:
      return Key::kF1;
    default:
      return Key::kOther;
  }
}

}  // namespace cmdgen::win32
