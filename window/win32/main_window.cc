#include "window/win32/main_window.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/dispatch.h"
#include "window/allocation.h"
#include "window/keys.h"
#include "window/run_guard.h"
#include "window/win32/ansi.h"
#include "window/win32/keyboard.h"

namespace cmdgen::win32 {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

struct ControlClass {
  const char* class_name;
  DWORD style;
  DWORD ex_style;
};

ControlClass ClassOf(const ControlLayout& control) {
  DWORD style = WS_CHILD;
  if (control.tab_stop) style |= WS_TABSTOP;
  if (!control.enabled) style |= WS_DISABLED;
  switch (control.kind) {
    case ControlKind::kEditBox:
      style |= ES_LEFT;
      if (control.multi_line) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        // Without horizontal scrolling a multi-line box wraps its lines.
        if (!control.word_wrap) style |= ES_AUTOHSCROLL | WS_HSCROLL;
      } else {
        style |= ES_AUTOHSCROLL;
      }
      if (control.vertical_scroll_bar) style |= WS_VSCROLL;
      return {"EDIT", style, WS_EX_CLIENTEDGE};
    case ControlKind::kButton:
      // BS_PUSHBUTTON, not BS_DEFPUSHBUTTON: no button is the default one.
      return {"BUTTON", style | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER, 0};
    case ControlKind::kLabel:
      // Captions carry no mnemonics, so "&" is drawn as it stands.
      style |= SS_NOPREFIX;
      style |= control.word_wrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
      // On a text label SS_CENTERIMAGE draws one line, centred vertically.
      if (control.centre_vertically) style |= SS_CENTERIMAGE;
      return {"STATIC", style, 0};
  }
  return {"STATIC", style, 0};
}

// The height of "吴" in the font, which the one-line boxes must hold. The
// character is measured with the wide function so that the measure does not
// depend on the ANSI code page having it.
std::int32_t FontHeight(HWND hwnd, HFONT font) {
  HDC dc = GetDC(hwnd);
  if (dc == nullptr) return 0;
  HGDIOBJ previous = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, L"\u5434", 1, &size);
  SelectObject(dc, previous);
  ReleaseDC(hwnd, dc);
  return size.cy;
}

HICON LoadIconResource(HINSTANCE instance, std::string_view name, int size) {
  const std::string resource(name);
  return static_cast<HICON>(LoadImageA(instance, resource.c_str(), IMAGE_ICON, size, size, 0));
}

// The icons go to each window with WM_SETICON rather than to the class, so
// that each window owns and frees its own.
bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  // The standard face colour of three-dimensional elements, as dialogs have.
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kMainWindowClass;
  if (RegisterClassExA(&window_class) != 0) return true;
  // A second window of the same process (the tests build several) reuses it.
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

MainWindow::MainWindow(const WindowLayout& layout) : layout_(layout), encoding_(AnsiEncoding()) {}

MainWindow::~MainWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  if (large_icon_ != nullptr) DestroyIcon(large_icon_);
  if (small_icon_ != nullptr) DestroyIcon(small_icon_);
}

bool MainWindow::Create(HINSTANCE instance) {
  if (!RegisterWindowClass(instance, &MainWindow::WindowProcedure)) return false;
  large_icon_ = LoadIconResource(instance, layout_.icon_resource, 32);
  small_icon_ = LoadIconResource(instance, layout_.icon_resource, 16);
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  const Point position =
      CentredPosition(layout_, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const std::string caption = Utf8ToAnsi(layout_.caption);
  // WM_NCCREATE stores the window in window_.
  if (CreateWindowExA(0, kMainWindowClass, caption.c_str(), kWindowStyle, position.x, position.y,
                      layout_.outer_width, layout_.outer_height, nullptr, nullptr, instance,
                      this) == nullptr) {
    return false;
  }
  RECT outer{};
  GetWindowRect(window_, &outer);
  if (outer.right - outer.left != layout_.outer_width ||
      outer.bottom - outer.top != layout_.outer_height) {
    SetWindowPos(window_, nullptr, 0, 0, layout_.outer_width, layout_.outer_height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon_));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_));

  if (!CreateControls(instance)) return false;

  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  // Activation gives the focus to the first control; should the system have
  // kept another program in front, the focus is put there all the same.
  if (IndexOf(GetFocus()) == controls_.size()) FocusFirstControl();
  return true;
}

bool MainWindow::CreateControls(HINSTANCE instance) {
  const std::size_t count = layout_.controls.size();
  controls_.assign(count, nullptr);
  const std::vector<std::size_t> order = TabOrder(layout_);
  first_control_ = order.empty() ? count : order.front();
  const int edge = GetSystemMetrics(SM_CYEDGE);
  // Created in the reverse of the list order, the last control first.
  for (std::size_t i = count; i-- > 0;) {
    const ControlLayout& control = layout_.controls[i];
    const ControlClass control_class = ClassOf(control);
    const std::string text = Utf8ToAnsi(control.initial_text);
    HWND hwnd = CreateWindowExA(
        control_class.ex_style, control_class.class_name, text.c_str(), control_class.style,
        control.left, control.top, control.width, control.height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(i))), instance, nullptr);
    if (hwnd == nullptr) return false;
    controls_[i] = hwnd;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (control.kind == ControlKind::kEditBox) {
      // 0 lifts the limit to the largest the control can hold.
      SendMessageA(hwnd, EM_SETLIMITTEXT, 0, 0);
      if (!control.multi_line) {
        const std::int32_t height = OneLineBoxHeight(control.height, FontHeight(hwnd, font_), edge);
        if (height != control.height) {
          SetWindowPos(hwnd, nullptr, 0, 0, control.width, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
      }
    }
  }
  // Stacking order: the first control of the list on top, each following one
  // directly below the one before it.
  for (std::size_t i = 0; i < count; ++i) {
    SetWindowPos(controls_[i], i == 0 ? HWND_TOP : controls_[i - 1], 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (layout_.controls[i].visible) ShowWindow(controls_[i], SW_SHOWNA);
  }
  return true;
}

HWND MainWindow::Control(std::string_view name) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (layout_.controls[i].name == name) return controls_[i];
  }
  return nullptr;
}

std::size_t MainWindow::IndexOf(HWND hwnd) const {
  for (; hwnd != nullptr && hwnd != window_; hwnd = GetParent(hwnd)) {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      if (controls_[i] == hwnd) return i;
    }
  }
  return controls_.size();
}

void MainWindow::FocusFirstControl() const {
  if (first_control_ < controls_.size()) SetFocus(controls_[first_control_]);
}

void MainWindow::RestoreFocus() const {
  HWND previous = focus_when_deactivated_;
  if (previous != nullptr && IsWindow(previous) && IsChild(window_, previous)) {
    SetFocus(previous);
  } else {
    FocusFirstControl();
  }
}

bool MainWindow::HandleKey(const MSG& message, bool shift, bool ctrl, bool alt) {
  // Only plain key-downs: with Alt held a key comes as WM_SYSKEYDOWN and
  // belongs to the system (Alt+F4 closes, Alt+Esc switches windows, Alt+Space
  // opens the system menu).
  if (message.message != WM_KEYDOWN) return false;
  if (window_ == nullptr || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
    return false;
  }
  const std::size_t focused = IndexOf(GetFocus());
  const ControlLayout* focused_layout =
      focused < controls_.size() ? &layout_.controls[focused] : nullptr;
  const KeyAction action =
      DecideKey(KeyFromVirtualKey(message.wParam), shift, ctrl, alt, focused_layout);
  switch (action) {
    case KeyAction::kPassToControl:
      return false;
    case KeyAction::kFocusNext:
    case KeyAction::kFocusPrevious: {
      const std::size_t next =
          NextInTabOrder(layout_, focused, action == KeyAction::kFocusPrevious);
      if (next < controls_.size()) SetFocus(controls_[next]);
      return true;
    }
    case KeyAction::kCloseWindow:
      // The same request as the close button's.
      SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case KeyAction::kSwallow:
      return true;
  }
  return false;
}

bool MainWindow::PreTranslateMessage(const MSG& message) {
  return HandleKey(message, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                   GetKeyState(VK_MENU) < 0);
}

void MainWindow::OnClicked(HWND button) {
  const std::size_t index = IndexOf(button);
  if (index >= controls_.size() || controls_[index] != button) return;
  // A failed request for memory ends inside, in the fatal error report:
  // nothing unwinds through the window system's frames.
  RouteClick(layout_.controls[index].click, *this);
}

LRESULT CALLBACK MainWindow::WindowProcedure(HWND hwnd, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->window_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->controls_.clear();
    self->focus_when_deactivated_ = nullptr;
    return DefWindowProcA(hwnd, message, wparam, lparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && lparam != 0) {
        OnClicked(reinterpret_cast<HWND>(lparam));
        return 0;
      }
      if (HIWORD(wparam) == EN_MAXTEXT || HIWORD(wparam) == EN_ERRSPACE) {
        insertion_refused_ = true;
        return 0;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (IndexOf(focus) < controls_.size()) focus_when_deactivated_ = focus;
      } else {
        RestoreFocus();
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wparam, lparam);
}

Text MainWindow::GetContent(std::string_view box) {
  HWND hwnd = Control(box);
  if (hwnd == nullptr) return {};
  const int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  Text text(static_cast<std::size_t>(length), '\0');
  // The length may overstate the text of a box that keeps it in UTF-16; the
  // count copied is the true one. The terminating NUL goes to text[length].
  const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void MainWindow::SetContent(std::string_view box, std::string_view text) {
  HWND hwnd = Control(box);
  if (hwnd == nullptr) return;
  const std::string terminated(text);
  SetWindowTextA(hwnd, terminated.c_str());
}

void MainWindow::AppendText(std::string_view box, std::span<const std::string_view> texts) {
  HWND hwnd = Control(box);
  if (hwnd == nullptr) return;
  for (std::string_view text : texts) {
    const LRESULT end = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
    SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageA(hwnd, EM_SCROLLCARET, 0, 0);
    const std::string terminated(text);
    insertion_refused_ = false;
    // FALSE: the insertion is not recorded for undo.
    SendMessageA(hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(terminated.c_str()));
    // A box that is full or out of memory keeps only part of the text and
    // says so with EN_MAXTEXT or EN_ERRSPACE; cutting the output without a
    // word would hand the user wrong commands.
    if (insertion_refused_) throw AllocationFailure(text.size());
  }
}

bool MainWindow::SetClipboardText(std::string_view text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool result = false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  if (block != nullptr) {
    if (void* bytes = GlobalLock(block)) {
      std::memcpy(bytes, text.data(), text.size());
      static_cast<char*>(bytes)[text.size()] = '\0';
      GlobalUnlock(block);
      // The clipboard owns the block from here on.
      SetClipboardData(CF_TEXT, block);
      result = true;
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
  return result;
}

bool MainWindow::AskToContinue(std::string_view question) {
  const std::string text = Utf8ToAnsi(question);
  const std::string caption = Utf8ToAnsi(kRunQuestionCaption);
  // MB_DEFBUTTON2: a slip of Enter must not start a run of millions of blocks.
  return MessageBoxA(window_, text.c_str(), caption.c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void MainWindow::ShowRefusal(std::string_view message) {
  const std::string text = Utf8ToAnsi(message);
  const std::string caption = Utf8ToAnsi(kRunRefusalCaption);
  MessageBoxA(window_, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

std::optional<std::uint64_t> MainWindow::OutputMemoryFor(std::uint64_t bytes, std::uint64_t lines) {
  HWND output = Control(kOutputBox);
  const int length = output == nullptr ? 0 : GetWindowTextLengthA(output);
  const auto held = static_cast<std::uint64_t>(std::max(length, 0));
  if (held > kMostCharacters || bytes > kMostCharacters - held) return std::nullopt;
  // Below 2^31 bytes and with no more lines than bytes, nothing overflows.
  return bytes * kMemoryPerByte + std::min(lines, bytes) * kMemoryPerLine;
}

std::optional<std::uint64_t> MainWindow::AvailableMemoryBytes() const {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
  // Beyond the free physical memory the system pages, and the window would
  // stand frozen for far longer than the run itself.
  return std::min({status.ullAvailPhys, status.ullAvailPageFile, status.ullAvailVirtual});
}

void MainWindow::ShowBusy(bool busy) noexcept {
  // No message is handled while the run lasts, so no WM_SETCURSOR puts the
  // class cursor back before the run ends.
  if (busy) {
    cursor_before_busy_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  } else {
    SetCursor(cursor_before_busy_);
    cursor_before_busy_ = nullptr;
  }
}

int RunMessageLoop(MainWindow& window) {
  MSG message{};
  int exit_code = -1;
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      exit_code = static_cast<int>(message.wParam);
      break;
    }
    // -1 comes only from invalid arguments, which this call does not pass.
    if (got == -1) break;
    if (window.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  SetStopping();
  return exit_code;
}

}  // namespace cmdgen::win32
