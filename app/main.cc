// The desktop program's entry: start-up, the event loop and shut-down.
#include <QApplication>
#include <QScreen>
#include <cfenv>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/dispatch.h"
#include "app/fatal_error.h"
#include "app/message_box.h"
#include "window/qt/main_window.h"
#include "window/qt/qt_window_port.h"

namespace cmdgen {
namespace {

QtMessageHandler qt_handler = nullptr;

// Until the window stands, a fatal message from Qt means that it cannot be
// built, most often because no display can be reached: report that instead
// of letting Qt abort.
void HandleQtMessageAtStartUp(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
  if (type != QtFatalMsg) {
    if (qt_handler != nullptr) qt_handler(type, context, message);
    return;
  }
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  ReportFatalError(0, kWindowLoadFailed);
}

int Run() {
  // The program reads no arguments, so Qt sees none either.
  int argc = 1;
  char name[] = "cmdgen";
  char* argv[] = {name, nullptr};

  qt_handler = qInstallMessageHandler(&HandleQtMessageAtStartUp);
  QApplication application(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.cmdgen.Cmdgen"));
  QApplication::setWindowIcon(ProgramIcon());
  SetFatalReportPresenter(&PresentInMessageBox);

  std::unique_ptr<MainWindow> window;
  try {
    if (QGuiApplication::primaryScreen() == nullptr) ReportFatalError(0, kWindowLoadFailed);
    window = std::make_unique<MainWindow>();
    window->ShowCentred();
  } catch (const std::exception&) {
    ReportFatalError(0, kWindowLoadFailed);
  }
  qInstallMessageHandler(qt_handler);

  QtWindowPort port(*window);
  window->SetClickHandler([&port](CommandId command) { RouteClick(command, port); });

  // The loop ends when the window is closed, which is always granted.
  const int code = QApplication::exec();
  SetStopping();
  window.reset();
  return code;
}

}  // namespace
}  // namespace cmdgen

int main() {
  // Round to nearest with every floating-point exception masked, so that no
  // arithmetic or conversion stops the program.
  std::fesetround(FE_TONEAREST);
  std::fenv_t environment;
  std::feholdexcept(&environment);
  return cmdgen::Run();
}
