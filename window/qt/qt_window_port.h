// The window commands' port onto the Qt main window and the system clipboard.
#ifndef CMDGEN_WINDOW_QT_QT_WINDOW_PORT_H_
#define CMDGEN_WINDOW_QT_QT_WINDOW_PORT_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "window/commands.h"
#include "window/qt/message_boxes.h"

namespace cmdgen {

class MainWindow;

/// Reaches the boxes of a MainWindow by their names and the clipboard through
/// QClipboard. Texts are UTF-8; the lines of a multi-line box are separated
/// by "\r\n" here, whatever the widget keeps. A failure to get memory inside
/// Qt is thrown as AllocationFailure with the size asked of Qt. Its
/// questions and notices are modal over the window, shown through `boxes`.
class QtWindowPort final : public WindowPort {
 public:
  /// What the output box, a QPlainTextEdit, takes in memory: two bytes of
  /// UTF-16 per character and about three more while Copy reads it back, and
  /// the text block and fragments of each line, which bench/window measures
  /// at 150 to 200 bytes. The figures leave a margin of about half again, for
  /// later blocks that outgrow the first one on which the estimate rests.
  static constexpr std::uint64_t kMemoryPerByte = 8;
  static constexpr std::uint64_t kMemoryPerLine = 256;

  explicit QtWindowPort(MainWindow& window, MessageBoxes boxes = RealMessageBoxes())
      : window_(window), boxes_(std::move(boxes)) {}

  Text GetContent(std::string_view box) override;
  void SetContent(std::string_view box, std::string_view text) override;
  void AppendText(std::string_view box, std::span<const std::string_view> texts) override;
  bool SetClipboardText(std::string_view text) override;
  Encoding TextEncoding() const override { return Encoding::kUtf8; }
  bool AskToContinue(std::string_view question) override;
  void ShowRefusal(std::string_view message) override;
  std::optional<std::uint64_t> OutputMemoryFor(std::uint64_t bytes, std::uint64_t lines) override;
  std::optional<std::uint64_t> AvailableMemoryBytes() const override;
  /// Sets Qt's override cursor to the wait cursor, and handles the pending
  /// events other than user input so that it reaches the display; false
  /// restores the cursor before it.
  void ShowBusy(bool busy) noexcept override;

 private:
  MainWindow& window_;
  MessageBoxes boxes_;
};

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_QT_QT_WINDOW_PORT_H_
