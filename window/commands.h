// The three commands behind the main window's buttons, and the port through
// which they reach the edit boxes and the clipboard.
#ifndef CMDGEN_WINDOW_COMMANDS_H_
#define CMDGEN_WINDOW_COMMANDS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "generation/text.h"
#include "window/layout.h"

namespace cmdgen {

/// The window system as the commands see it. Boxes are addressed by their
/// control names; the lines of a multi-line box are separated by "\r\n" in
/// every text that crosses this interface, whatever the widget keeps inside.
/// The texts of the boxes and the clipboard are in TextEncoding(); the
/// questions and notices, like the layout's texts, are UTF-8.
class WindowPort {
 public:
  virtual ~WindowPort() = default;

  /// The box's whole content; the empty text for an empty box.
  virtual Text GetContent(std::string_view box) = 0;

  /// Replaces the box's whole content.
  virtual void SetContent(std::string_view box, std::string_view text) = 0;

  /// For each text in order: puts the caret at the end of the box (giving up
  /// any selection), scrolls it into view and inserts the text there without
  /// recording it for undo. With no texts nothing changes.
  virtual void AppendText(std::string_view box, std::span<const std::string_view> texts) = 0;

  /// Puts the text on the system clipboard as plain text; false when it
  /// could not.
  virtual bool SetClipboardText(std::string_view text) = 0;

  /// How the texts of this port are encoded.
  virtual Encoding TextEncoding() const = 0;

  /// Asks the question in a modal box with the caption kRunQuestionCaption
  /// and the answers Yes and No, No being the default; true for Yes.
  virtual bool AskToContinue(std::string_view question) = 0;

  /// Tells why a command does not go ahead, in a modal box with the caption
  /// kRunRefusalCaption and one OK button.
  virtual void ShowRefusal(std::string_view message) = 0;

  /// The memory the output box needs to take `bytes` more bytes of text in
  /// `lines` more lines, with what reading it all back (Copy) asks for;
  /// nothing when the box cannot hold that much text whatever the memory.
  virtual std::optional<std::uint64_t> OutputMemoryFor(std::uint64_t bytes,
                                                       std::uint64_t lines) = 0;

  /// The memory the machine can still give the program without running
  /// short; nothing when it cannot be told.
  virtual std::optional<std::uint64_t> AvailableMemoryBytes() const = 0;

  /// Shows (true) or takes back (false) the busy pointer over the window; a
  /// change is on the display before this returns. Never throws.
  virtual void ShowBusy(bool busy) noexcept = 0;
};

/// The size above which GenerateIntoOutput hands its gathered blocks to the
/// output box, so that a long run inserts a few large pieces instead of
/// millions of small ones.
inline constexpr std::size_t kAppendPieceBytes = std::size_t{1} << 20;

/// Appends one block and "\r\n" per step to the output box, made from the
/// template, start list and end number boxes. With no step the output box is
/// not touched. Before a run that is too large for the machine it tells the
/// user so, and before a very large one it asks (DecideRun in
/// window/run_guard.h); a run that does not go ahead leaves the box as it
/// was. A long run shows the busy pointer meanwhile. The blocks are gathered
/// into pieces of about kAppendPieceBytes; the box ends up as if each block
/// and its "\r\n" had been appended one after the other.
/// With the initial boxes: 编辑框2 gains "vlan 1124\r\nport Ethernet0/0/1\r\nquit\r\n" ...
void GenerateIntoOutput(WindowPort& port);

/// Puts the output box's whole content on the clipboard; a failure is silent.
void CopyOutputToClipboard(WindowPort& port);

/// Empties the output box.
void ClearOutput(WindowPort& port);

/// Runs the command; kNone does nothing.
/// RunCommand(CommandId::kClearOutput, port) -> port.SetContent("编辑框2", "")
void RunCommand(CommandId command, WindowPort& port);

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_COMMANDS_H_
