// The fatal error report's message box.
#ifndef CMDGEN_APP_MESSAGE_BOX_H_
#define CMDGEN_APP_MESSAGE_BOX_H_

#include <string_view>

namespace cmdgen {

/// Shows the report in a modal message box with no owner window, the error
/// icon and one OK button, and returns once the user has closed it; a
/// FatalReportPresenter.
/// PresentInMessageBox("错误", "运行时出错!\r\n\r\n") -> a box captioned 错误
void PresentInMessageBox(std::string_view caption, std::string_view text);

}  // namespace cmdgen

#endif  // CMDGEN_APP_MESSAGE_BOX_H_
