// The Win32 side of the window's key handling: virtual-key codes to keys.
#ifndef CMDGEN_WINDOW_WIN32_KEYBOARD_H_
#define CMDGEN_WINDOW_WIN32_KEYBOARD_H_

#include <cstdint>

#include "window/keys.h"

namespace cmdgen::win32 {

/// The key that a WM_KEYDOWN with this virtual-key code is.
/// KeyFromVirtualKey(VK_ESCAPE) -> Key::kEscape
Key KeyFromVirtualKey(std::uintptr_t virtual_key);

}  // namespace cmdgen::win32

#endif  // CMDGEN_WINDOW_WIN32_KEYBOARD_H_
