// The window commands' port onto the Qt main window and the system clipboard.
#ifndef CMDGEN_WINDOW_QT_QT_WINDOW_PORT_H_
#define CMDGEN_WINDOW_QT_QT_WINDOW_PORT_H_

#include <span>
#include <string_view>

#include "window/commands.h"

namespace cmdgen {

class MainWindow;

/// Reaches the boxes of a MainWindow by their names and the clipboard through
/// QClipboard. Texts are UTF-8; the lines of a multi-line box are separated
/// by "\r\n" here, whatever the widget keeps. A failure to get memory inside
/// Qt is thrown as AllocationFailure with the size asked of Qt.
class QtWindowPort final : public WindowPort {
 public:
  explicit QtWindowPort(MainWindow& window) : window_(window) {}

  Text GetContent(std::string_view box) override;
  void SetContent(std::string_view box, std::string_view text) override;
  void AppendText(std::string_view box, std::span<const std::string_view> texts) override;
  bool SetClipboardText(std::string_view text) override;
  Encoding TextEncoding() const override { return Encoding::kUtf8; }

 private:
  MainWindow& window_;
};

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_QT_QT_WINDOW_PORT_H_
