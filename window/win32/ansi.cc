#include "window/win32/ansi.h"

#include <windows.h>

#include <limits>
#include <new>

namespace cmdgen::win32 {
namespace {

constexpr unsigned kUtf8CodePage = 65001;

// Both conversion functions count in int; a longer text than that cannot be
// handed to them in one piece.
int CheckedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) throw std::bad_alloc();
  return static_cast<int>(size);
}

std::wstring ToWide(std::string_view text, unsigned code_page) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int wide_length = MultiByteToWideChar(code_page, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), length, wide.data(), wide_length);
  return wide;
}

std::string FromWide(const std::wstring& wide, unsigned code_page) {
  if (wide.empty()) return {};
  const int length = CheckedLength(wide.size());
  const int size =
      WideCharToMultiByte(code_page, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

}  // namespace

unsigned AnsiCodePage() { return GetACP(); }

std::string Utf8ToAnsi(std::string_view utf8, unsigned code_page) {
  return FromWide(ToWide(utf8, CP_UTF8), code_page);
}

std::string AnsiToUtf8(std::string_view ansi, unsigned code_page) {
  return FromWide(ToWide(ansi, code_page), CP_UTF8);
}

Encoding EncodingForCodePage(unsigned code_page, unsigned max_char_size) {
  if (code_page == kUtf8CodePage) return Encoding::kUtf8;
  return max_char_size >= 2 ? Encoding::kDoubleByte : Encoding::kUtf8;
}

Encoding AnsiEncoding() {
  CPINFO info{};
  const unsigned code_page = AnsiCodePage();
  if (!GetCPInfo(code_page, &info)) return EncodingForCodePage(code_page, 1);
  return EncodingForCodePage(code_page, info.MaxCharSize);
}

}  // namespace cmdgen::win32
