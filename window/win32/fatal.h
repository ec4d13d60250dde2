// The fatal error report of the Windows program, shown as a message box.
#ifndef CMDGEN_WINDOW_WIN32_FATAL_H_
#define CMDGEN_WINDOW_WIN32_FATAL_H_

#include <string_view>

namespace cmdgen::win32 {

/// The report's presenter (SetFatalReportPresenter): a modal message box with
/// no owner window, the error icon and a single OK button. The UTF-8 caption
/// and text are shown in the ANSI code page.
/// PresentInMessageBox("错误", "运行时出错!\r\n\r\n") -> MessageBoxA(nullptr, "\xB4\xED...", ...)
void PresentInMessageBox(std::string_view caption, std::string_view text);

}  // namespace cmdgen::win32

#endif  // CMDGEN_WINDOW_WIN32_FATAL_H_
