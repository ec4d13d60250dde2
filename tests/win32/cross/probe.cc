// Looks at a running cmdgen.exe from another process, for the end-to-end
// tests: waits for its window, prints its geometry, caption and focus, and
// reads or sets the text of a box. Box texts cross as raw ANSI bytes (get) or
// as UTF-8 files that are converted to the ANSI code page (set).
//
//   cmdgen_probe wait                  the window's outer and client rectangles
//   cmdgen_probe caption               the caption's bytes
//   cmdgen_probe focus                 the short name of the focused control
//   cmdgen_probe clipboard             the bytes of the clipboard's CF_TEXT
//   cmdgen_probe get NAME              the box's bytes
//   cmdgen_probe set NAME UTF8-FILE    replaces the box's text
//
// NAME is one of template, output, start, end, generate, copy, clear.
#include <windows.h>

// _setmode and _fileno, for binary standard output.
#include <fcntl.h>
#include <io.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "window/layout.h"
#include "window/win32/ansi.h"
#include "window/win32/main_window.h"

namespace {

using cmdgen::MainWindowLayout;
using cmdgen::win32::ControlId;
using cmdgen::win32::kMainWindowClass;

struct ShortName {
  std::string_view alias;
  std::string_view control;
};

constexpr std::array<ShortName, 7> kShortNames = {{
    {"template", cmdgen::kTemplateBox},
    {"output", cmdgen::kOutputBox},
    {"start", cmdgen::kStartBox},
    {"end", cmdgen::kEndBox},
    {"generate", cmdgen::kGenerateButton},
    {"copy", cmdgen::kCopyButton},
    {"clear", cmdgen::kClearButton},
}};

int Fail(const char* what) {
  std::fprintf(stderr, "cmdgen_probe: %s\n", what);
  return 2;
}

HWND FindMainWindow() { return FindWindowA(kMainWindowClass, nullptr); }

HWND WaitForMainWindow() {
  for (int i = 0; i < 200; ++i) {
    HWND hwnd = FindMainWindow();
    if (hwnd != nullptr && IsWindowVisible(hwnd)) return hwnd;
    Sleep(100);
  }
  return nullptr;
}

HWND FindControl(HWND window, std::string_view alias) {
  const auto& controls = MainWindowLayout().controls;
  for (const ShortName& name : kShortNames) {
    if (name.alias != alias) continue;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].name == name.control) return GetDlgItem(window, ControlId(i));
    }
  }
  return nullptr;
}

std::string_view AliasOf(HWND window, HWND control) {
  for (const ShortName& name : kShortNames) {
    if (control != nullptr && FindControl(window, name.alias) == control) return name.alias;
  }
  return "none";
}

std::string WindowText(HWND hwnd) {
  const auto length = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const auto copied =
      SendMessageA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

void Print(std::string_view bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2)
    return Fail("usage: cmdgen_probe wait|caption|focus|clipboard|get NAME|set NAME FILE");
  const std::string_view command = argv[1];
  // Bytes as they are: no "\r" before each "\n".
  _setmode(_fileno(stdout), _O_BINARY);
  HWND window = WaitForMainWindow();
  if (window == nullptr) return Fail("no visible main window");

  if (command == "wait") {
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::printf("outer %ld %ld %ld %ld\nclient %ld %ld %ld %ld\nscreen %d %d\n", outer.left,
                outer.top, outer.right - outer.left, outer.bottom - outer.top, client.left,
                client.top, client.right - client.left, client.bottom - client.top,
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
  }
  if (command == "caption") {
    Print(WindowText(window));
    return 0;
  }
  if (command == "focus") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
      return Fail("no thread information");
    }
    Print(AliasOf(window, info.hwndFocus));
    return 0;
  }
  if (command == "clipboard") {
    // Another program may hold the clipboard open for a moment.
    for (int i = 0; i < 100 && !OpenClipboard(nullptr); ++i) Sleep(20);
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
        text = bytes;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    Print(text);
    return 0;
  }
  if (argc < 3) return Fail("a box name is missing");
  HWND control = FindControl(window, argv[2]);
  if (control == nullptr) return Fail("no such control");
  if (command == "get") {
    Print(WindowText(control));
    return 0;
  }
  if (command == "set" && argc >= 4) {
    std::ifstream file(argv[3], std::ios::binary);
    if (!file) return Fail("cannot read the text file");
    const std::string utf8{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::string ansi = cmdgen::win32::Utf8ToAnsi(utf8);
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
    return WindowText(control) == ansi ? 0 : Fail("the box did not take the text");
  }
  return Fail("unknown command");
}
