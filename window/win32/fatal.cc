#include "window/win32/fatal.h"

#include <windows.h>

#include <exception>

#include "window/win32/ansi.h"

namespace cmdgen::win32 {
namespace {

bool stopping = false;

}  // namespace

void SetStopping() { stopping = true; }

bool IsStopping() { return stopping; }

std::string FatalReportText(std::int32_t code, std::string_view message) {
  std::string text = "运行时出错!\r\n\r\n";
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

std::string AllocationFailureMessage(std::size_t bytes) {
  return "分配 " + std::to_string(bytes) + " 字节内存失败!";
}

void ReportFatalError(std::int32_t code, std::string_view message) {
  SetStopping();
  // The report may be about memory itself: should the texts not fit in what
  // is left, the box still comes up, if without its text.
  std::string text;
  std::string caption;
  try {
    text = Utf8ToAnsi(FatalReportText(code, message));
    caption = Utf8ToAnsi("错误");
  } catch (const std::exception&) {
    text.clear();
    caption.clear();
  }
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_ICONERROR | MB_OK);
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace cmdgen::win32
