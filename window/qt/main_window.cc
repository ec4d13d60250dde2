#include "window/qt/main_window.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <limits>

#include "window/keys.h"
#include "window/qt/box_text.h"

namespace cmdgen {
namespace {

// A push button whose caption wraps onto a second line when it does not fit
// on one, centred both ways.
class WrappingButton final : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(contents, Qt::AlignCenter | Qt::TextWordWrap, option.palette, isEnabled(),
                         caption, QPalette::ButtonText);
  }
};

// Black on white in every state, and a selection that disappears while the
// box does not have the focus (the inactive colour group).
void PaintAsEditBox(QWidget& box) {
  QPalette palette = box.palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Base, Qt::white);
    palette.setColor(group, QPalette::Text, Qt::black);
  }
  palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
  box.setPalette(palette);
}

Key KeyOf(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return Key::kTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::kEnter;
    case Qt::Key_Escape:
      return Key::kEscape;
    case Qt::Key_F1:
      return Key::kF1;
    default:
      return Key::kOther;
  }
}

QString LabelText(std::string_view text) {
  QString label = FromText(text);
  label.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return label;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (const char* file : {":/icons/cmdgen-16.png", ":/icons/cmdgen-32.png"}) {
    if (QFile::exists(QLatin1String(file))) icon.addFile(QLatin1String(file));
  }
  return icon;
}

MainWindow::MainWindow(const WindowLayout& layout)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      layout_(layout),
      controls_(layout.controls.size(), nullptr) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(FromText(layout.caption));
  // With no frame known yet the client area takes the whole outer size, which
  // is what it keeps where no window manager draws a frame.
  setFixedSize(std::max(layout.outer_width, layout.min_client_width),
               std::max(layout.outer_height, layout.min_client_height));

  if (const QIcon icon = ProgramIcon(); !icon.isNull()) setWindowIcon(icon);

  // Created in the reverse of the list, so that each widget is raised above
  // the ones created before it and the first of the list ends up on top.
  for (std::size_t i = layout.controls.size(); i-- > 0;) BuildControl(layout.controls[i]);

  const std::vector<std::size_t> order = TabOrder(layout);
  for (std::size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(controls_[order[i - 1]], controls_[order[i]]);
  }
  if (!order.empty()) controls_[order.front()]->setFocus(Qt::OtherFocusReason);

  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
  if (qApp != nullptr) qApp->removeEventFilter(this);
}

void MainWindow::BuildControl(const ControlLayout& control) {
  const auto index = static_cast<std::size_t>(&control - layout_.controls.data());
  const QString text = FromText(control.initial_text);
  QWidget* widget = nullptr;
  QRect place(control.left, control.top, control.width, control.height);
  switch (control.kind) {
    case ControlKind::kEditBox:
      if (control.multi_line) {
        auto* box = new QPlainTextEdit(this);
        box->setPlainText(MultiLineWidgetText(control.initial_text));
        box->setLineWrapMode(control.word_wrap ? QPlainTextEdit::WidgetWidth
                                               : QPlainTextEdit::NoWrap);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setVerticalScrollBarPolicy(control.vertical_scroll_bar ? Qt::ScrollBarAlwaysOn
                                                                    : Qt::ScrollBarAlwaysOff);
        // The window moves the focus on Tab itself; this only keeps a tab
        // character out should a Tab ever get past it.
        box->setTabChangesFocus(true);
        // A narrow margin, so that the template box shows its three lines.
        box->document()->setDocumentMargin(2);
        widget = box;
      } else {
        auto* box = new QLineEdit(text, this);
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setCursorPosition(0);
        // A box lower than the font with its two edges is made that high.
        const int edge = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
        const int least =
            QFontMetrics(box->font()).boundingRect(QStringLiteral("吴")).height() + 2 * edge;
        place.setHeight(std::max(place.height(), least));
        widget = box;
      }
      PaintAsEditBox(*widget);
      widget->setFocusPolicy(Qt::StrongFocus);
      break;
    case ControlKind::kButton: {
      auto* button = new WrappingButton(text, this);
      button->setAutoDefault(false);
      button->setDefault(false);
      button->setFocusPolicy(Qt::StrongFocus);
      connect(button, &QPushButton::clicked, this, [this, command = control.click] {
        if (click_handler_) click_handler_(command);
      });
      widget = button;
      break;
    }
    case ControlKind::kLabel: {
      auto* label = new QLabel(this);
      label->setTextFormat(Qt::PlainText);
      label->setText(LabelText(control.initial_text));
      label->setWordWrap(control.word_wrap);
      label->setAlignment(Qt::AlignLeft |
                          (control.centre_vertically ? Qt::AlignVCenter : Qt::AlignTop));
      label->setFocusPolicy(Qt::NoFocus);
      widget = label;
      break;
    }
  }
  widget->setObjectName(FromText(control.name));
  widget->setGeometry(place);
  widget->setEnabled(control.enabled);
  widget->setVisible(control.visible);
  widget->raise();
  controls_[index] = widget;
}

QWidget* MainWindow::Control(std::string_view name) const {
  const ControlLayout* control = FindControl(layout_, name);
  if (control == nullptr) return nullptr;
  return controls_[static_cast<std::size_t>(control - layout_.controls.data())];
}

void MainWindow::SetClickHandler(ClickHandler handler) { click_handler_ = std::move(handler); }

QPoint MainWindow::CentredFramePosition() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {0, 0};
  // The full size of the display counts, not its work area.
  const QRect display = screen->geometry();
  const Point place = CentredPosition(layout_, display.width(), display.height());
  return display.topLeft() + QPoint(place.x, place.y);
}

void MainWindow::ShowCentred() {
  move(CentredFramePosition());
  show();
  activateWindow();
  raise();
}

void MainWindow::FitOuterSize() {
  // The frame is known only once a window manager has drawn one; the client
  // area is then the outer size less that frame, but never below the least
  // that holds the controls.
  const QSize frame = frameGeometry().size() - size();
  const QSize wanted(std::max(layout_.outer_width - frame.width(), layout_.min_client_width),
                     std::max(layout_.outer_height - frame.height(), layout_.min_client_height));
  if (wanted == size()) return;
  setFixedSize(wanted);
  move(CentredFramePosition());
}

bool MainWindow::event(QEvent* event) {
  // Qt tells of no change of the frame itself, so look at it whenever the
  // manager has placed, sized, shown or activated the window.
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowActivate:
      FitOuterSize();
      break;
    default:
      break;
  }
  return QWidget::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver->window() == this) return HandleKey(receiver, *static_cast<QKeyEvent*>(event));
  }
  return QWidget::eventFilter(watched, event);
}

bool MainWindow::HandleKey(QWidget* receiver, const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers();
  const Key which = KeyOf(key);
  // Qt reports Shift+Tab as Backtab, with or without the Shift modifier.
  const bool shift = modifiers.testFlag(Qt::ShiftModifier) || key.key() == Qt::Key_Backtab;
  const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
  const bool alt = modifiers.testFlag(Qt::AltModifier);

  const ControlLayout* focused = nullptr;
  std::size_t focused_index = layout_.controls.size();
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == receiver || controls_[i]->isAncestorOf(receiver)) {
      focused = &layout_.controls[i];
      focused_index = i;
    }
  }

  const KeyAction action = DecideKey(which, shift, ctrl, alt, focused);
  switch (action) {
    case KeyAction::kPassToControl:
      if (which == Key::kEnter && (shift || ctrl || alt || modifiers & Qt::MetaModifier)) {
        // Shift+Enter would put a line separator inside the line; every Enter
        // starts a new line, as a plain one does.
        QKeyEvent plain(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(receiver, &plain);
        return true;
      }
      return false;
    case KeyAction::kFocusNext:
    case KeyAction::kFocusPrevious: {
      const bool backwards = action == KeyAction::kFocusPrevious;
      const std::size_t next = NextInTabOrder(layout_, focused_index, backwards);
      if (next < controls_.size()) {
        controls_[next]->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
      }
      return true;
    }
    case KeyAction::kCloseWindow:
      close();
      return true;
    case KeyAction::kSwallow:
      return true;
  }
  return false;
}

}  // namespace cmdgen
