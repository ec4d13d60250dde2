// The Windows program's entry: builds the main window, runs the message loop
// and returns its exit code.
#include <windows.h>

// _controlfp, the masks of the floating-point exceptions.
#include <float.h>

#include <cfenv>
#include <exception>
#include <new>

#include "app/fatal_error.h"
#include "window/allocation.h"
#include "window/win32/fatal.h"
#include "window/win32/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace cmdgen;
  // Round to nearest with every exception masked, so that no arithmetic or
  // conversion can stop the program.
  std::fesetround(FE_TONEAREST);
  _controlfp(_MCW_EM, _MCW_EM);
  SetFatalReportPresenter(&win32::PresentInMessageBox);

  win32::MainWindow window;
  try {
    if (!window.Create(instance)) ReportFatalError(0, kWindowLoadFailed);
  } catch (const std::exception&) {
    ReportFatalError(0, kWindowLoadFailed);
  }
  // The key handling asks for a little memory (the tab order); should even
  // that fail, the report says so.
  try {
    return win32::RunMessageLoop(window);
  } catch (const AllocationFailure& failure) {
    ReportFatalError(0, AllocationFailureMessage(failure.bytes()));
  } catch (const std::bad_alloc&) {
    ReportFatalError(0, AllocationFailureMessage(0));
  }
}
