// The main window, built with Qt Widgets from the layout table.
#ifndef CMDGEN_WINDOW_QT_MAIN_WINDOW_H_
#define CMDGEN_WINDOW_QT_MAIN_WINDOW_H_

#include <QIcon>
#include <QWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "window/layout.h"

namespace cmdgen {

/// The program icon, from its 16 and 32 pixel images among the resources
/// (":/icons/cmdgen-16.png", ":/icons/cmdgen-32.png"); a null icon where the
/// program was built without them.
QIcon ProgramIcon();

/// The one top-level window: a fixed-size frame holding one widget per
/// control of the layout, each named (objectName) after its control. While it
/// exists it looks at every key-down meant for it before the focused control
/// does, and decides with DecideKey what becomes of it.
class MainWindow final : public QWidget {
 public:
  /// Told the click command of a button when it is clicked.
  using ClickHandler = std::function<void(CommandId)>;

  /// Builds the window hidden, with every control in place and the focus
  /// waiting in the first control of the tab order.
  explicit MainWindow(const WindowLayout& layout = MainWindowLayout());
  ~MainWindow() override;

  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  const WindowLayout& layout() const { return layout_; }

  /// The widget of the control of that name, or nullptr.
  QWidget* Control(std::string_view name) const;

  /// Replaces the function told of button clicks.
  void SetClickHandler(ClickHandler handler);

  /// Places the window's frame at the centre of the primary screen, shows it
  /// and activates it.
  void ShowCentred();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void BuildControl(const ControlLayout& control);
  bool HandleKey(QWidget* receiver, const class QKeyEvent& key);
  void FitOuterSize();
  QPoint CentredFramePosition() const;

  const WindowLayout& layout_;
  std::vector<QWidget*> controls_;  // by index into layout_.controls
  ClickHandler click_handler_;
};

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_QT_MAIN_WINDOW_H_
