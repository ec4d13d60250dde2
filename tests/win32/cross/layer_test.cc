// The Windows layer's own tests, run under Wine with the ANSI code page 936:
// the text conversions at the Win32 border, the window built from the layout
// table, its key handling and focus, the port's boxes and clipboard, the
// routing of clicks and the fatal error report.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "app/fatal_error.h"
#include "window/allocation.h"
#include "window/commands.h"
#include "window/layout.h"
#include "window/run_guard.h"
#include "window/win32/ansi.h"
#include "window/win32/fatal.h"
#include "window/win32/keyboard.h"
#include "window/win32/main_window.h"

namespace cmdgen::win32 {
namespace {

constexpr unsigned kChinese = 936;
constexpr char kReportFlag[] = "--report-fatal-error";

// A UTF-8 literal as the bytes of code page 936.
std::string A(std::string_view utf8) { return Utf8ToAnsi(utf8, kChinese); }

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::string WindowTextOf(HWND hwnd) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// The CF_TEXT block on the clipboard, NUL included, or nothing.
std::optional<std::string> ClipboardBlock() {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(20);
  std::optional<std::string> block;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      block.emplace(bytes, std::strlen(bytes) + 1);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return block;
}

void PutOnClipboard(std::string_view text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  char* bytes = static_cast<char*>(GlobalLock(block));
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

// The output of one Generate with the window's initial boxes.
std::string InitialBlocks() {
  std::string blocks;
  for (int step = 0; step < 23; ++step) {
    blocks += "vlan " + std::to_string(1124 + step) + "\r\nport Ethernet0/0/" +
              std::to_string(1 + step) + "\r\nquit\r\n";
  }
  return blocks;
}

TEST(AnsiTest, TheTestsRunInTheChineseCodePage) {
  ASSERT_EQ(GetACP(), kChinese) << "run under Wine with LC_ALL=zh_CN.UTF-8";
  EXPECT_EQ(AnsiEncoding(), Encoding::kDoubleByte);
}

TEST(AnsiTest, EncodingFollowsTheCodePage) {
  struct Case {
    unsigned code_page, max_char_size;
    Encoding expected;
  };
  const Case cases[] = {
      {936, 2, Encoding::kDoubleByte},   {950, 2, Encoding::kDoubleByte},
      {932, 2, Encoding::kDoubleByte},   {949, 2, Encoding::kDoubleByte},
      {54936, 4, Encoding::kDoubleByte}, {65001, 4, Encoding::kUtf8},
      {1252, 1, Encoding::kUtf8},        {437, 1, Encoding::kUtf8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodingForCodePage(c.code_page, c.max_char_size), c.expected) << c.code_page;
  }
}

TEST(AnsiTest, ConvertsBetweenUtf8AndTheCodePage) {
  struct Case {
    std::string_view utf8;
    unsigned code_page;
    std::string_view ansi;
  };
  const Case cases[] = {
      {"", kChinese, ""},
      {"vlan {1}\r\nquit", kChinese, "vlan {1}\r\nquit"},
      {"生成", kChinese, "\xC9\xFA\xB3\xC9"},
      {"Tarnwick——Oselmar", kChinese, "Tarnwick\xA1\xAA\xA1\xAAOselmar"},
      // A character whose second byte is "{", and a full-width digit.
      {"亄", kChinese, "\x81\x7B"},
      {"１", kChinese, "\xA3\xB1"},
      {"é", 1252, "\xE9"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToAnsi(c.utf8, c.code_page), c.ansi) << c.utf8;
    EXPECT_EQ(AnsiToUtf8(c.ansi, c.code_page), c.utf8) << c.utf8;
  }
  // Without a code page the ANSI one is meant.
  EXPECT_EQ(Utf8ToAnsi("生成"), "\xC9\xFA\xB3\xC9");
  // A character that the code page lacks becomes its default character.
  EXPECT_EQ(Utf8ToAnsi("生", 1252), "?");
}

TEST(KeyboardTest, MapsVirtualKeys) {
  const std::pair<std::uintptr_t, Key> cases[] = {
      {VK_TAB, Key::kTab},  {VK_RETURN, Key::kEnter}, {VK_ESCAPE, Key::kEscape},
      {VK_F1, Key::kF1},    {VK_SPACE, Key::kOther},  {'A', Key::kOther},
      {VK_F4, Key::kOther}, {VK_SHIFT, Key::kOther},  {VK_BACK, Key::kOther},
  };
  for (const auto& [virtual_key, key] : cases) {
    EXPECT_EQ(KeyFromVirtualKey(virtual_key), key) << virtual_key;
  }
}

TEST(FatalReportTest, TheReportReachesTheMessageBoxInTheCodePage) {
  EXPECT_EQ(A(FatalReportText(0, kWindowLoadFailed)),
            "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
            "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
            "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC\r\n");
  EXPECT_EQ(A(kFatalReportCaption), "\xB4\xED\xCE\xF3");
}

// The tests share one window, put back to its initial state before each
// test and built anew only after a test has closed it: under Wine without a
// window manager every window takes two seconds to go away.
class MainWindowTest : public testing::Test {
 protected:
  static void TearDownTestSuite() {
    shared_.reset();
    Pump();
  }

  void SetUp() override {
    if (shared_ == nullptr || shared_->handle() == nullptr) {
      shared_ = std::make_unique<MainWindow>();
      ASSERT_TRUE(shared_->Create(GetModuleHandleA(nullptr)));
    } else {
      for (const ControlLayout& control : MainWindowLayout().controls) {
        if (control.kind == ControlKind::kEditBox) {
          shared_->SetContent(control.name, A(control.initial_text));
          SendMessageA(shared_->Control(control.name), EM_SETSEL, 0, 0);
        }
      }
      SetActiveWindow(shared_->handle());
      SetFocus(shared_->Control(kTemplateBox));
    }
    window_ = shared_.get();
    Pump();
  }

  HWND Box(std::string_view name) const { return window_->Control(name); }

  std::string_view FocusedName() const {
    const std::size_t index = window_->IndexOf(GetFocus());
    const auto& controls = MainWindowLayout().controls;
    return index < controls.size() ? controls[index].name : std::string_view("(none)");
  }

  bool PressKey(UINT virtual_key, bool shift = false, bool ctrl = false, bool alt = false) {
    MSG message{};
    message.hwnd = GetFocus();
    message.message = WM_KEYDOWN;
    message.wParam = virtual_key;
    return window_->HandleKey(message, shift, ctrl, alt);
  }

  void Click(std::string_view button) {
    SendMessageA(Box(button), BM_CLICK, 0, 0);
    Pump();
  }

  std::pair<DWORD, DWORD> Selection(std::string_view box) const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(Box(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }

  static inline std::unique_ptr<MainWindow> shared_;
  MainWindow* window_ = nullptr;
};

TEST_F(MainWindowTest, WindowHasTheFixedFrameSizeAndPlace) {
  HWND hwnd = window_->handle();
  RECT outer{};
  GetWindowRect(hwnd, &outer);
  const Point centre = CentredPosition(MainWindowLayout(), GetSystemMetrics(SM_CXSCREEN),
                                       GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(outer.left, centre.x);
  EXPECT_EQ(outer.top, centre.y);
  EXPECT_EQ(outer.right - outer.left, 566);
  EXPECT_EQ(outer.bottom - outer.top, 459);
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_GE(client.right, 552);
  EXPECT_GE(client.bottom, 408);

  const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
  // A taskbar button of its own, and not always on top.
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
  EXPECT_EQ(ex_style & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST), 0u);
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_FALSE(IsIconic(hwnd));
  EXPECT_FALSE(IsZoomed(hwnd));
  EXPECT_EQ(GetActiveWindow(), hwnd);
  EXPECT_EQ(WindowTextOf(hwnd), "Tarnwick\xA1\xAA\xA1\xAAOselmar");
  EXPECT_EQ(GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
}

// The layout of RT_GROUP_ICON data, which no Windows header declares.
#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
struct IconGroupHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

TEST(IconResourceTest, GroupHoldsEightSizesOf32Bits) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, "DEFAULT_ICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(resource, nullptr);
  const auto* header =
      static_cast<const IconGroupHeader*>(LockResource(LoadResource(module, resource)));
  ASSERT_NE(header, nullptr);
  ASSERT_EQ(header->count, 8);
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
  std::vector<int> sizes;
  for (int i = 0; i < header->count; ++i) {
    // A width byte of 0 stands for 256.
    sizes.push_back(entries[i].width == 0 ? 256 : entries[i].width);
    EXPECT_EQ(entries[i].width, entries[i].height);
    EXPECT_EQ(entries[i].bit_count, 32) << sizes.back();
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 72, 96, 128}));
}

TEST_F(MainWindowTest, WindowCarriesTheIconsOfTheResource) {
  struct Case {
    WPARAM which;
    LONG size;
  };
  for (const Case c : {Case{ICON_BIG, 32}, Case{ICON_SMALL, 16}}) {
    auto icon = reinterpret_cast<HICON>(SendMessageA(window_->handle(), WM_GETICON, c.which, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, c.size);
    EXPECT_EQ(bitmap.bmHeight, c.size);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

TEST_F(MainWindowTest, ControlsHaveTheirClassStylePlaceAndText) {
  struct Expected {
    std::string_view name;
    const char* class_name;
    DWORD required, forbidden, ex_style;
  };
  constexpr DWORD kEditOptions = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_AUTOHSCROLL |
                                 WS_VSCROLL | WS_HSCROLL | ES_READONLY | ES_PASSWORD | ES_NUMBER |
                                 ES_UPPERCASE | ES_LOWERCASE | ES_NOHIDESEL | ES_CENTER | ES_RIGHT;
  constexpr DWORD kMultiLine = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  constexpr DWORD kButton = BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP;
  const Expected expected[] = {
      {kTemplateBox, "Edit", kMultiLine | WS_TABSTOP, kEditOptions & ~kMultiLine, WS_EX_CLIENTEDGE},
      {kOutputBox, "Edit", kMultiLine | WS_VSCROLL | WS_TABSTOP,
       kEditOptions & ~(kMultiLine | WS_VSCROLL), WS_EX_CLIENTEDGE},
      {kStartBox, "Edit", ES_AUTOHSCROLL | WS_TABSTOP, kEditOptions & ~DWORD{ES_AUTOHSCROLL},
       WS_EX_CLIENTEDGE},
      {kEndBox, "Edit", ES_AUTOHSCROLL | WS_TABSTOP, kEditOptions & ~DWORD{ES_AUTOHSCROLL},
       WS_EX_CLIENTEDGE},
      {kGenerateButton, "Button", kButton, BS_DEFPUSHBUTTON | BS_BITMAP | BS_ICON, 0},
      {kCopyButton, "Button", kButton, BS_DEFPUSHBUTTON | BS_BITMAP | BS_ICON, 0},
      {kClearButton, "Button", kButton, BS_DEFPUSHBUTTON | BS_BITMAP | BS_ICON, 0},
      {kTemplateLabel, "Static", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX,
       WS_TABSTOP | WS_BORDER | SS_SUNKEN, 0},
      {kStartLabel, "Static", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX,
       WS_TABSTOP | WS_BORDER | SS_SUNKEN, 0},
      {kEndLabel, "Static", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX,
       WS_TABSTOP | WS_BORDER | SS_SUNKEN, 0},
      {kNoteLabel, "Static", SS_NOPREFIX,
       SS_TYPEMASK | SS_CENTERIMAGE | WS_TABSTOP | WS_BORDER | SS_SUNKEN, 0},
  };
  const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  for (const Expected& e : expected) {
    SCOPED_TRACE(std::string(e.name));
    const ControlLayout* control = FindControl(MainWindowLayout(), e.name);
    ASSERT_NE(control, nullptr);
    HWND hwnd = Box(e.name);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_STRCASEEQ(ClassOf(hwnd).c_str(), e.class_name);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
    EXPECT_EQ(style & e.required, e.required);
    EXPECT_EQ(style & e.forbidden, 0u);
    EXPECT_EQ(ex_style & WS_EX_CLIENTEDGE, e.ex_style);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_EQ(SendMessageA(hwnd, WM_GETFONT, 0, 0), static_cast<LRESULT>(font));
    EXPECT_EQ(WindowTextOf(hwnd), A(control->initial_text));

    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, window_->handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, control->left);
    EXPECT_EQ(rect.top, control->top);
    EXPECT_EQ(rect.right - rect.left, control->width);
    // With this font the one-line boxes are high enough as they are.
    EXPECT_EQ(rect.bottom - rect.top, control->height);
    if (control->kind == ControlKind::kEditBox) {
      EXPECT_GE(static_cast<unsigned long>(SendMessageA(hwnd, EM_GETLIMITTEXT, 0, 0)),
                0x7FFFFFFEul);
    }
  }
}

TEST_F(MainWindowTest, OneLineBoxesHoldTheFontAndTheEdges) {
  EXPECT_EQ(OneLineBoxHeight(20, 16, 2), 20);
  EXPECT_EQ(OneLineBoxHeight(20, 17, 2), 21);
  EXPECT_EQ(OneLineBoxHeight(10, 30, 2), 34);
  HDC dc = GetDC(Box(kStartBox));
  HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32W(dc, L"\u5434", 1, &size);
  SelectObject(dc, previous);
  ReleaseDC(Box(kStartBox), dc);
  RECT rect{};
  GetWindowRect(Box(kStartBox), &rect);
  EXPECT_GE(rect.bottom - rect.top, size.cy + 2 * GetSystemMetrics(SM_CYEDGE));
}

TEST_F(MainWindowTest, StackingFollowsTheListAndCreationItsReverse) {
  const auto& controls = MainWindowLayout().controls;
  std::size_t i = 0;
  for (HWND child = GetWindow(window_->handle(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT), ++i) {
    ASSERT_LT(i, controls.size());
    EXPECT_EQ(child, Box(controls[i].name)) << i;
    // Identifiers follow the list too, so that GetDlgItem reaches a control.
    EXPECT_EQ(GetDlgCtrlID(child), ControlId(i));
  }
  EXPECT_EQ(i, controls.size());
}

TEST_F(MainWindowTest, StartsWithTheCaretAtTheStartOfTheTemplate) {
  EXPECT_EQ(FocusedName(), kTemplateBox);
  EXPECT_EQ(Selection(kTemplateBox), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(MainWindowTest, TabAndShiftTabWalkTheTabOrder) {
  const std::string_view forward[] = {kOutputBox,  kGenerateButton, kStartBox,   kEndBox,
                                      kCopyButton, kClearButton,    kTemplateBox};
  for (std::string_view name : forward) {
    EXPECT_TRUE(PressKey(VK_TAB));
    EXPECT_EQ(FocusedName(), name);
  }
  EXPECT_TRUE(PressKey(VK_TAB, /*shift=*/true));
  EXPECT_EQ(FocusedName(), kClearButton);
  EXPECT_TRUE(PressKey(VK_TAB, /*shift=*/true));
  EXPECT_EQ(FocusedName(), kCopyButton);
  // Ctrl+Tab and Alt+Tab move nothing and reach no box.
  EXPECT_TRUE(PressKey(VK_TAB, false, /*ctrl=*/true));
  EXPECT_TRUE(PressKey(VK_TAB, false, false, /*alt=*/true));
  EXPECT_EQ(FocusedName(), kCopyButton);
  // With the focus on the window itself, Tab goes to the first control.
  SetFocus(window_->handle());
  SetFocus(nullptr);
  MSG message{};
  message.hwnd = window_->handle();
  message.message = WM_KEYDOWN;
  message.wParam = VK_TAB;
  EXPECT_TRUE(window_->HandleKey(message, false, false, false));
  EXPECT_EQ(FocusedName(), kTemplateBox);
}

TEST_F(MainWindowTest, TabInTheTemplateInsertsNothing) {
  MSG message{};
  message.hwnd = Box(kTemplateBox);
  message.message = WM_KEYDOWN;
  message.wParam = VK_TAB;
  EXPECT_TRUE(window_->HandleKey(message, false, false, false));
  Pump();
  EXPECT_EQ(window_->GetContent(kTemplateBox), "vlan {1}\r\nport Ethernet0/0/{2}\r\nquit");
  EXPECT_EQ(FocusedName(), kOutputBox);
}

TEST_F(MainWindowTest, EnterReachesOnlyTheMultiLineBoxes) {
  struct Case {
    std::string_view focus;
    bool handled_by_window;
  };
  const Case cases[] = {{kTemplateBox, false}, {kOutputBox, false},     {kStartBox, true},
                        {kEndBox, true},       {kGenerateButton, true}, {kClearButton, true}};
  for (const Case& c : cases) {
    SetFocus(Box(c.focus));
    EXPECT_EQ(PressKey(VK_RETURN), c.handled_by_window) << std::string(c.focus);
  }
  Pump();
  // No button was clicked.
  EXPECT_EQ(window_->GetContent(kOutputBox), "");
}

TEST_F(MainWindowTest, F1IsSwallowedAndOtherKeysPass) {
  EXPECT_TRUE(PressKey(VK_F1));
  EXPECT_FALSE(PressKey('A'));
  EXPECT_FALSE(PressKey(VK_SPACE));
  // Keys meant for another window are not looked at.
  HWND other = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPED, 0, 0, 50, 20, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  MSG message{};
  message.hwnd = other;
  message.message = WM_KEYDOWN;
  message.wParam = VK_ESCAPE;
  EXPECT_FALSE(window_->HandleKey(message, false, false, false));
  DestroyWindow(other);
  // Alt+Esc and the like come as WM_SYSKEYDOWN and are the system's.
  message.hwnd = GetFocus();
  message.message = WM_SYSKEYDOWN;
  EXPECT_FALSE(window_->HandleKey(message, false, false, /*alt=*/true));
  EXPECT_NE(window_->handle(), nullptr);
}

TEST_F(MainWindowTest, EscClosesTheWindowFromAnyBoxAndPostsQuit) {
  Pump();
  SetFocus(Box(kOutputBox));
  HWND hwnd = window_->handle();
  EXPECT_TRUE(PressKey(VK_ESCAPE));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(window_->handle(), nullptr);
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

TEST_F(MainWindowTest, ActivationRestoresTheFocusOfTheLastDeactivation) {
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0,
                               100, 60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetFocus(Box(kEndBox));
  SetActiveWindow(other);
  Pump();
  EXPECT_EQ(GetActiveWindow(), other);
  SetActiveWindow(window_->handle());
  Pump();
  EXPECT_EQ(FocusedName(), kEndBox);
  DestroyWindow(other);
}

TEST_F(MainWindowTest, ContentRoundTripsInTheCodePage) {
  const std::string text = A("接口 {1}\r\n亄1}\r\n");
  window_->SetContent(kTemplateBox, text);
  EXPECT_EQ(window_->GetContent(kTemplateBox), text);
  window_->SetContent(kTemplateBox, "");
  EXPECT_EQ(window_->GetContent(kTemplateBox), "");
  EXPECT_EQ(window_->GetContent("no such box"), "");
}

TEST_F(MainWindowTest, AppendGoesToTheEndAndGivesUpTheSelection) {
  window_->SetContent(kOutputBox, "abc");
  SendMessageA(Box(kOutputBox), EM_SETSEL, 0, 2);
  const std::string_view none[] = {""};
  window_->AppendText(kOutputBox, std::span<const std::string_view>(none, 0));
  EXPECT_EQ(Selection(kOutputBox), std::make_pair(DWORD{0}, DWORD{2}));

  const std::string_view texts[] = {"x", "\r\n"};
  window_->AppendText(kOutputBox, texts);
  EXPECT_EQ(window_->GetContent(kOutputBox), "abcx\r\n");
  EXPECT_EQ(Selection(kOutputBox), std::make_pair(DWORD{6}, DWORD{6}));
  // The insertion is not recorded for undo.
  EXPECT_EQ(SendMessageA(Box(kOutputBox), EM_CANUNDO, 0, 0), FALSE);
}

TEST_F(MainWindowTest, BoxesHaveNoLengthLimit) {
  // Without EM_SETLIMITTEXT 0 an edit box stops at 30000 characters.
  const std::string line(98, 'x');
  std::string piece;
  for (int i = 0; i < 200; ++i) piece += line + "\r\n";
  const std::string_view texts[] = {piece, piece};
  window_->AppendText(kOutputBox, texts);
  EXPECT_EQ(window_->GetContent(kOutputBox).size(), 2 * piece.size());
  window_->SetContent(kStartBox, std::string(40000, '1'));
  EXPECT_EQ(window_->GetContent(kStartBox).size(), 40000u);
}

TEST_F(MainWindowTest, AppendThatTheBoxCannotHoldFailsLoudly) {
  SendMessageA(Box(kOutputBox), EM_SETLIMITTEXT, 10, 0);
  const std::string_view fits[] = {"12345"};
  window_->AppendText(kOutputBox, fits);
  const std::string_view too_long[] = {"6789abcdef"};
  try {
    window_->AppendText(kOutputBox, too_long);
    ADD_FAILURE() << "the box cut the text without a word";
  } catch (const AllocationFailure& failure) {
    EXPECT_EQ(failure.bytes(), 10u);
  }
  SendMessageA(Box(kOutputBox), EM_SETLIMITTEXT, 0, 0);
}

TEST_F(MainWindowTest, ClipboardGetsThePlainTextBlock) {
  const std::string text = A("vlan 1\r\n端口\r\n");
  ASSERT_TRUE(window_->SetClipboardText(text));
  EXPECT_EQ(ClipboardBlock(), text + '\0');
  ASSERT_TRUE(window_->SetClipboardText(""));
  EXPECT_EQ(ClipboardBlock(), std::string(1, '\0'));
}

TEST_F(MainWindowTest, ClipboardHeldByAnotherThreadIsLeftAlone) {
  PutOnClipboard("before");
  std::mutex mutex;
  std::condition_variable changed;
  bool ready = false;
  bool opened = false;
  bool done = false;
  // The holder opens the clipboard for a window of its own, as another
  // program would.
  std::thread holder([&] {
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    const bool got = OpenClipboard(owner) != FALSE;
    {
      std::lock_guard lock(mutex);
      ready = true;
      opened = got;
    }
    changed.notify_all();
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return done; });
    if (got) CloseClipboard();
    DestroyWindow(owner);
  });
  bool holder_has_it = false;
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return ready; });
    holder_has_it = opened;
  }
  EXPECT_TRUE(holder_has_it);
  EXPECT_FALSE(window_->SetClipboardText("after"));
  {
    std::lock_guard lock(mutex);
    done = true;
  }
  changed.notify_all();
  holder.join();
  EXPECT_EQ(ClipboardBlock(), std::string("before", 7));
}

TEST_F(MainWindowTest, ButtonsRunTheirCommands) {
  Click(kGenerateButton);
  EXPECT_EQ(window_->GetContent(kOutputBox), InitialBlocks());
  const auto end = static_cast<DWORD>(InitialBlocks().size());
  EXPECT_EQ(Selection(kOutputBox), std::make_pair(end, end));
  Click(kGenerateButton);
  EXPECT_EQ(window_->GetContent(kOutputBox), InitialBlocks() + InitialBlocks());
  Click(kCopyButton);
  EXPECT_EQ(ClipboardBlock(), InitialBlocks() + InitialBlocks() + '\0');
  Click(kClearButton);
  EXPECT_EQ(window_->GetContent(kOutputBox), "");
  Click(kCopyButton);
  EXPECT_EQ(ClipboardBlock(), std::string(1, '\0'));
}

TEST_F(MainWindowTest, GenerateWalksTheCodePageByCharacters) {
  // "亄" is 0x81 0x7B: its second byte is a "{" that begins no placeholder.
  window_->SetContent(kTemplateBox, A("亄1} 亄{1}"));
  window_->SetContent(kStartBox, A("　１１２４"));
  window_->SetContent(kEndBox, A("１１２５"));
  Click(kGenerateButton);
  EXPECT_EQ(window_->GetContent(kOutputBox), A("亄1} 亄1124\r\n亄1} 亄1125\r\n"));
}

// The child process of FatalReportTest: a main window, then the report.
int ReportFromChild() {
  SetFatalReportPresenter(&PresentInMessageBox);
  MainWindow window;
  if (!window.Create(GetModuleHandleA(nullptr))) return 3;
  ReportFatalError(0, kWindowLoadFailed);
}

struct MessageBoxParts {
  std::string text;
  int buttons = 0;
  int ok_buttons = 0;
  bool icon = false;
};

BOOL CALLBACK CollectPart(HWND child, LPARAM parts_address) {
  auto& parts = *reinterpret_cast<MessageBoxParts*>(parts_address);
  if (!IsWindowVisible(child)) return TRUE;
  const std::string class_name = ClassOf(child);
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
  if (lstrcmpiA(class_name.c_str(), "Button") == 0) {
    ++parts.buttons;
    if (GetDlgCtrlID(child) == IDOK) ++parts.ok_buttons;
  } else if (lstrcmpiA(class_name.c_str(), "Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      parts.icon = SendMessageA(child, STM_GETICON, 0, 0) != 0;
    } else if (GetWindowTextLengthA(child) > 0) {
      parts.text = WindowTextOf(child);
    }
  }
  return TRUE;
}

HWND FindOwnedWindow(DWORD process, const char* class_name, const char* caption) {
  for (int i = 0; i < 200; ++i) {
    for (HWND hwnd = FindWindowExA(nullptr, nullptr, class_name, caption); hwnd != nullptr;
         hwnd = FindWindowExA(nullptr, hwnd, class_name, caption)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(hwnd, &owner);
      if (owner == process && IsWindowVisible(hwnd)) return hwnd;
    }
    Sleep(50);
  }
  return nullptr;
}

TEST(FatalReportTest, ShowsTheReportWithButtonsInertAndEndsWithMinusOne) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string command_line = std::string("\"") + path + "\" " + kReportFlag;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessA(path, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &child));
  const std::string caption = A("错误");
  HWND box = FindOwnedWindow(child.dwProcessId, "#32770", caption.c_str());
  HWND main_window = FindOwnedWindow(child.dwProcessId, kMainWindowClass, nullptr);
  if (box != nullptr && main_window != nullptr) {
    MessageBoxParts parts;
    EnumChildWindows(box, &CollectPart, reinterpret_cast<LPARAM>(&parts));
    EXPECT_EQ(parts.text, A("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"));
    EXPECT_EQ(parts.buttons, 1);
    EXPECT_EQ(parts.ok_buttons, 1);
    EXPECT_TRUE(parts.icon);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);

    // While the report is shown the main window's buttons run nothing.
    const auto& controls = MainWindowLayout().controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].name != kGenerateButton) continue;
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(GetDlgItem(main_window, ControlId(i)), BM_CLICK, 0, 0, SMTO_NORMAL, 5000,
                          &ignored);
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].name == kOutputBox) {
        EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(main_window, ControlId(i))), 0);
      }
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  EXPECT_NE(box, nullptr);
  EXPECT_NE(main_window, nullptr);
  ASSERT_EQ(WaitForSingleObject(child.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exit_code = 0;
  GetExitCodeProcess(child.hProcess, &exit_code);
  EXPECT_EQ(exit_code, 0xFFFFFFFFu);
  if (exit_code == STILL_ACTIVE) TerminateProcess(child.hProcess, 1);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
}

// Waits, in a thread of its own, for this process's message box of the
// caption, notes what it shows and then closes it with `close`.
class BoxWatch {
 public:
  BoxWatch(std::string_view caption, std::function<void(HWND)> close)
      : thread_([this, caption = A(caption), close = std::move(close)] {
          HWND box = FindOwnedWindow(GetCurrentProcessId(), "#32770", caption.c_str());
          if (box == nullptr) return;
          found_ = true;
          owner_ = GetWindow(box, GW_OWNER);
          // The default button is drawn as such, and Enter chooses it.
          for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
            HWND button = GetDlgItem(box, id);
            const auto style = static_cast<DWORD>(GetWindowLongPtrA(button, GWL_STYLE));
            if (button != nullptr && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) default_id_ = id;
          }
          EnumChildWindows(box, &CollectPart, reinterpret_cast<LPARAM>(&parts_));
          close(box);
        }) {}
  ~BoxWatch() {
    if (thread_.joinable()) thread_.join();
  }

  // Joins the watch; what it saw may be read after this.
  void Join() { thread_.join(); }
  bool found() const { return found_; }
  HWND owner() const { return owner_; }
  int default_id() const { return default_id_; }
  const MessageBoxParts& parts() const { return parts_; }

 private:
  bool found_ = false;
  HWND owner_ = nullptr;
  int default_id_ = 0;
  MessageBoxParts parts_;
  std::thread thread_;
};

// Enter, as a user would press it in the box: the dialog's default button.
void PressEnter(HWND box) {
  PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(box, WM_KEYUP, VK_RETURN, 0);
}

TEST_F(MainWindowTest, QuestionHasNoAsItsDefaultAndYesAnswersYes) {
  const std::string question = "本次将生成 1,000,001 个块。\r\n\r\n是否继续？";
  {
    BoxWatch watch("确认", &PressEnter);
    EXPECT_FALSE(window_->AskToContinue(question));
    watch.Join();
    ASSERT_TRUE(watch.found());
    EXPECT_EQ(watch.default_id(), IDNO);
    EXPECT_EQ(watch.owner(), window_->handle());
    EXPECT_EQ(watch.parts().text, A(question));
    EXPECT_EQ(watch.parts().buttons, 2);
    EXPECT_TRUE(watch.parts().icon);
  }
  BoxWatch watch("确认", [](HWND box) { PostMessageA(box, WM_COMMAND, IDYES, 0); });
  EXPECT_TRUE(window_->AskToContinue(question));
  watch.Join();
  EXPECT_TRUE(watch.found());
}

TEST_F(MainWindowTest, RefusalShowsItsTextWithOneOkButton) {
  const std::string message = "已取消，输出框未作改动。";
  BoxWatch watch("提示", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
  window_->ShowRefusal(message);
  watch.Join();
  ASSERT_TRUE(watch.found());
  EXPECT_EQ(watch.owner(), window_->handle());
  EXPECT_EQ(watch.parts().text, A(message));
  EXPECT_EQ(watch.parts().buttons, 1);
  EXPECT_EQ(watch.parts().ok_buttons, 1);
  EXPECT_TRUE(watch.parts().icon);
}

TEST_F(MainWindowTest, RunawayGenerateAsksAndEnterLeavesTheBox) {
  window_->SetContent(kOutputBox, "kept");
  // One block more than a million.
  window_->SetContent(kEndBox, "1001124");
  BoxWatch watch("确认", &PressEnter);
  Click(kGenerateButton);
  watch.Join();
  ASSERT_TRUE(watch.found());
  EXPECT_EQ(watch.parts().text,
            A("本次将生成 1,000,001 个块（约 35 MiB 文本），可能需要很长时间，其间窗口无法操作。"
              "\r\n\r\n是否继续？"));
  EXPECT_EQ(window_->GetContent(kOutputBox), "kept");
}

TEST_F(MainWindowTest, OutputMemoryCountsBytesAndLinesUpToTheBoxLimit) {
  EXPECT_EQ(window_->OutputMemoryFor(1000, 10),
            1000 * MainWindow::kMemoryPerByte + 10 * MainWindow::kMemoryPerLine);
  EXPECT_TRUE(window_->OutputMemoryFor(MainWindow::kMostCharacters, 1).has_value());
  EXPECT_FALSE(window_->OutputMemoryFor(MainWindow::kMostCharacters + 1, 1).has_value());
  window_->SetContent(kOutputBox, "abc");
  EXPECT_TRUE(window_->OutputMemoryFor(MainWindow::kMostCharacters - 3, 1).has_value());
  EXPECT_FALSE(window_->OutputMemoryFor(MainWindow::kMostCharacters - 2, 1).has_value());

  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  ASSERT_TRUE(GlobalMemoryStatusEx(&status));
  const std::optional<std::uint64_t> available = window_->AvailableMemoryBytes();
  ASSERT_TRUE(available.has_value());
  EXPECT_GT(*available, 0u);
  EXPECT_LE(*available, status.ullTotalPhys);
}

TEST_F(MainWindowTest, BusyPointerIsTheWaitCursorUntilTakenBack) {
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  SetCursor(arrow);
  window_->ShowBusy(true);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
  window_->ShowBusy(false);
  EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace
}  // namespace cmdgen::win32

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == cmdgen::win32::kReportFlag) {
    return cmdgen::win32::ReportFromChild();
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
