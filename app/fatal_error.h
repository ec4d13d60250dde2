// The fatal error report: the program's end when it cannot go on.
#ifndef CMDGEN_APP_FATAL_ERROR_H_
#define CMDGEN_APP_FATAL_ERROR_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "generation/text.h"

namespace cmdgen {

/// The message of a main window that cannot be built.
inline constexpr std::string_view kWindowLoadFailed = "载入启动窗口失败";

/// The caption of the report.
inline constexpr std::string_view kFatalReportCaption = "错误";

/// The exit status after the report (255 where statuses have 8 bits).
inline constexpr int kFatalExitCode = -1;

/// The report's text: the heading, then the code unless it is 0, then the
/// message unless it is empty.
/// FatalReportText(0, "载入启动窗口失败")
///   -> "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"
Text FatalReportText(std::int32_t code, std::string_view message);

/// The message of a request for memory that could not be had, with the full
/// number of bytes asked for.
/// AllocationFailureMessage(4294967296) -> "分配 4294967296 字节内存失败!"
Text AllocationFailureMessage(std::size_t bytes);

/// Shows the report and returns once the user has closed it.
using FatalReportPresenter = void (*)(std::string_view caption, std::string_view text);

/// Replaces the presenter of the report and returns the one before. The first
/// one writes the report to the standard error stream, for the time before a
/// message box can be shown.
FatalReportPresenter SetFatalReportPresenter(FatalReportPresenter presenter);

/// Writes the caption and the text, its "\r\n" line breaks as "\n", to the
/// standard error stream.
void PresentOnStandardError(std::string_view caption, std::string_view text);

/// Sets the stopping flag, shows the report through the presenter, and ends
/// the process at once with kFatalExitCode; the system reclaims what the
/// process held.
[[noreturn]] void ReportFatalError(std::int32_t code, std::string_view message);

}  // namespace cmdgen

#endif  // CMDGEN_APP_FATAL_ERROR_H_
