// The Windows program's entry: builds the main window, runs the message loop
// and returns its exit code.
#include <windows.h>

// _controlfp, the masks of the floating-point exceptions.
#include <float.h>

#include <cfenv>
#include <new>

#include "window/allocation.h"
#include "window/win32/fatal.h"
#include "window/win32/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace cmdgen::win32;
  // Round to nearest with every exception masked, so that no arithmetic or
  // conversion can stop the program.
  std::fesetround(FE_TONEAREST);
  _controlfp(_MCW_EM, _MCW_EM);
  try {
    MainWindow window;
    if (!window.Create(instance)) ReportFatalError(0, "载入启动窗口失败");
    return RunMessageLoop(window);
  } catch (const cmdgen::AllocationFailure& failure) {
    ReportFatalError(0, AllocationFailureMessage(failure.bytes()));
  } catch (const std::bad_alloc&) {
    ReportFatalError(0, AllocationFailureMessage(0));
  }
}
