#include "app/fatal_error.h"

#include <unistd.h>  // write, to report when no memory is left

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/dispatch.h"

namespace cmdgen {
namespace {

FatalReportPresenter current_presenter = &PresentOnStandardError;

void WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(STDERR_FILENO, bytes.data(), bytes.size());
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace

Text FatalReportText(std::int32_t code, std::string_view message) {
  Text text = "运行时出错!\r\n\r\n";
  if (code != 0) {
    text += "错误代码：";
    text += std::to_string(code);
    text += "\r\n\r\n";
  }
  if (!message.empty()) {
    text += "错误信息：";
    text += message;
    text += "\r\n";
  }
  return text;
}

Text AllocationFailureMessage(std::size_t bytes) {
  return "分配 " + std::to_string(bytes) + " 字节内存失败!";
}

FatalReportPresenter SetFatalReportPresenter(FatalReportPresenter presenter) {
  const FatalReportPresenter previous = current_presenter;
  current_presenter = presenter;
  return previous;
}

void PresentOnStandardError(std::string_view caption, std::string_view text) {
  std::string lines(caption);
  lines += '\n';
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lines += text[i];
  }
  WriteAll(lines);
}

void ReportFatalError(std::int32_t code, std::string_view message) {
  // From here on no click runs a command, also while the report is shown.
  SetStopping();
  static bool reporting = false;
  if (!reporting) {
    reporting = true;
    try {
      current_presenter(kFatalReportCaption, FatalReportText(code, message));
    } catch (...) {
      // Not even the report could be built or shown: say what can be said
      // without asking for memory.
      WriteAll(kFatalReportCaption);
      WriteAll("\n");
      WriteAll(message);
      WriteAll("\n");
    }
  }
  std::fflush(nullptr);
  std::_Exit(kFatalExitCode);
}

}  // namespace cmdgen
