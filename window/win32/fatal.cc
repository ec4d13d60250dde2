#include "window/win32/fatal.h"

#include <windows.h>

#include <exception>
#include <string>

#include "window/win32/ansi.h"

namespace cmdgen::win32 {

void PresentInMessageBox(std::string_view caption, std::string_view text) {
  // The report may be about memory itself: should the converted texts not
  // fit in what is left, the box still comes up, if without its words.
  std::string ansi_caption;
  std::string ansi_text;
  try {
    ansi_caption = Utf8ToAnsi(caption);
    ansi_text = Utf8ToAnsi(text);
  } catch (const std::exception&) {
    ansi_caption.clear();
    ansi_text.clear();
  }
  MessageBoxA(nullptr, ansi_text.c_str(), ansi_caption.c_str(), MB_ICONERROR | MB_OK);
}

}  // namespace cmdgen::win32
