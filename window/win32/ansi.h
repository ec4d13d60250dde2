// Texts at the Win32 border: the layout's UTF-8 texts in the ANSI code page,
// and the engine's walk for that code page.
#ifndef CMDGEN_WINDOW_WIN32_ANSI_H_
#define CMDGEN_WINDOW_WIN32_ANSI_H_

#include <string>
#include <string_view>

#include "generation/text.h"

namespace cmdgen::win32 {

/// The code page of the "A" functions: the system's ANSI code page.
unsigned AnsiCodePage();

/// Converts UTF-8 text to the given code page (CP_ACP, 0, for the ANSI code page).
/// Characters the code page lacks become its default character.
/// Utf8ToAnsi("生成", 936) -> "\xC9\xFA\xB3\xC9"
std::string Utf8ToAnsi(std::string_view utf8, unsigned code_page = 0);

/// Converts text in the given code page (CP_ACP, 0, for the ANSI code page) to UTF-8.
/// AnsiToUtf8("\xC9\xFA\xB3\xC9", 936) -> "生成"
std::string AnsiToUtf8(std::string_view ansi, unsigned code_page = 0);

/// How the engine walks texts of a code page whose longest character has
/// `max_char_size` bytes. UTF-8 is walked as UTF-8 and a double-byte code page
/// byte pair by byte pair. A single-byte code page has a character at every
/// byte; the engine's searches and splits look only for ASCII texts, and the
/// UTF-8 walk finds every ASCII byte as a character start, whereas the
/// double-byte walk would hide one behind any byte of 0x80 or above.
/// EncodingForCodePage(936, 2) -> Encoding::kDoubleByte
Encoding EncodingForCodePage(unsigned code_page, unsigned max_char_size);

/// EncodingForCodePage for the ANSI code page of this system.
Encoding AnsiEncoding();

}  // namespace cmdgen::win32

#endif  // CMDGEN_WINDOW_WIN32_ANSI_H_
