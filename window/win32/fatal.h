// The stopping flag and the fatal error report of the Windows program.
#ifndef CMDGEN_WINDOW_WIN32_FATAL_H_
#define CMDGEN_WINDOW_WIN32_FATAL_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cmdgen::win32 {

/// Sets the flag under which no click runs a command any more.
void SetStopping();

/// Whether the program has begun to stop.
bool IsStopping();

/// The report text for an error code (0 for none) and a UTF-8 message.
/// FatalReportText(0, "载入启动窗口失败") -> "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"
std::string FatalReportText(std::int32_t code, std::string_view message);

/// The message that reports a failed request for memory.
/// AllocationFailureMessage(64) -> "分配 64 字节内存失败!"
std::string AllocationFailureMessage(std::size_t bytes);

/// Sets the stopping flag, shows the report in a message box with no owner
/// window, caption "错误", the error icon and an OK button, and once the user
/// has closed it ends the process with exit code -1. `message` is UTF-8.
[[noreturn]] void ReportFatalError(std::int32_t code, std::string_view message);

}  // namespace cmdgen::win32

#endif  // CMDGEN_WINDOW_WIN32_FATAL_H_
