// The main window built with the Win32 API from the shared layout table, and
// the port through which the commands reach its boxes and the clipboard.
#ifndef CMDGEN_WINDOW_WIN32_MAIN_WINDOW_H_
#define CMDGEN_WINDOW_WIN32_MAIN_WINDOW_H_

// The HWND, MSG and HINSTANCE types of the interface.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "window/commands.h"
#include "window/layout.h"

namespace cmdgen::win32 {

/// The identifier of the child control at `index` of the layout's list, so
/// that GetDlgItem finds it.
/// ControlId(0) -> 1000
constexpr int ControlId(std::size_t index) { return 1000 + static_cast<int>(index); }

/// The window class of the main window.
inline constexpr char kMainWindowClass[] = "CmdgenMainWindow";

/// The least height of a one-line edit box: the font's height, taken as the
/// height of "吴", plus the three-dimensional edge above and below. A lower
/// box is made that high.
/// OneLineBoxHeight(20, 16, 2) -> 20
constexpr std::int32_t OneLineBoxHeight(std::int32_t height, std::int32_t font_height,
                                        std::int32_t edge) {
  const std::int32_t least = font_height + 2 * edge;
  return height < least ? least : height;
}

/// The one main window. Texts crossing the port are in the ANSI code page
/// with "\r\n" line breaks; the layout's UTF-8 texts are converted on the way
/// in.
class MainWindow final : public WindowPort {
 public:
  explicit MainWindow(const WindowLayout& layout = MainWindowLayout());
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  /// Builds the window and its controls hidden, arranges them and shows the
  /// window active with the focus in the first control of the tab order.
  /// False when the window or a control could not be created.
  bool Create(HINSTANCE instance);

  /// The top-level window, or nullptr before Create and after it is gone.
  HWND handle() const { return window_; }

  /// The child control of that name, or nullptr.
  HWND Control(std::string_view name) const;

  /// The index into the layout's list of the control `hwnd` is or lies in;
  /// the list's size when it is none of them.
  std::size_t IndexOf(HWND hwnd) const;

  /// The message loop's look at a key-down before the focused control gets
  /// it, with the modifier keys as held. True when the window handled the key
  /// and the message must go no further.
  bool HandleKey(const MSG& message, bool shift, bool ctrl, bool alt);

  /// HandleKey with the modifier keys read from the keyboard state.
  bool PreTranslateMessage(const MSG& message);

  Text GetContent(std::string_view box) override;
  void SetContent(std::string_view box, std::string_view text) override;
  /// Throws AllocationFailure, with the size of the text, when the box cannot
  /// take the whole text, rather than cut the output silently.
  void AppendText(std::string_view box, std::span<const std::string_view> texts) override;
  bool SetClipboardText(std::string_view text) override;
  Encoding TextEncoding() const override { return encoding_; }
  /// A message box owned by the window, with Yes and No, No the default.
  bool AskToContinue(std::string_view question) override;
  /// A message box owned by the window, with the warning icon and OK.
  void ShowRefusal(std::string_view message) override;
  /// The edit box keeps its text once, in the ANSI code page, and a start
  /// for each line; the estimate allows for the box growing its buffer and
  /// for the copies that Copy makes. Nothing beyond the box's greatest
  /// length.
  std::optional<std::uint64_t> OutputMemoryFor(std::uint64_t bytes, std::uint64_t lines) override;
  /// The least of the free physical memory, the commit charge still allowed
  /// and the free address space (GlobalMemoryStatusEx).
  std::optional<std::uint64_t> AvailableMemoryBytes() const override;
  /// The wait cursor, with SetCursor; false puts back the cursor before it.
  void ShowBusy(bool busy) noexcept override;

  /// The memory the edit box takes per byte of text and per line.
  static constexpr std::uint64_t kMemoryPerByte = 4;
  static constexpr std::uint64_t kMemoryPerLine = 8;
  /// The most characters an edit box holds, the limit EM_SETLIMITTEXT 0 sets.
  static constexpr std::uint64_t kMostCharacters = 0x7FFFFFFE;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool CreateControls(HINSTANCE instance);
  void FocusFirstControl() const;
  void RestoreFocus() const;
  void OnClicked(HWND button);

  const WindowLayout& layout_;
  Encoding encoding_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  HICON large_icon_ = nullptr;
  HICON small_icon_ = nullptr;
  std::vector<HWND> controls_;
  // Index of the control that takes the focus when no other one is due.
  std::size_t first_control_ = 0;
  HWND focus_when_deactivated_ = nullptr;
  // Set when an edit box reports that it could not take a whole insertion.
  bool insertion_refused_ = false;
  // The cursor that the busy pointer replaced.
  HCURSOR cursor_before_busy_ = nullptr;
};

/// Runs the thread's message loop until the quit request, offering each
/// message to the window's key handling first; returns the quit code.
int RunMessageLoop(MainWindow& window);

}  // namespace cmdgen::win32

#endif  // CMDGEN_WINDOW_WIN32_MAIN_WINDOW_H_
