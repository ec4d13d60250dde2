// The Qt main window: its controls against the layout table, its keys and
// focus, and the three commands on real widgets and the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "window/commands.h"
#include "window/qt/box_text.h"
#include "window/qt/main_window.h"
#include "window/qt/message_boxes.h"
#include "window/qt/qt_window_port.h"
#include "window/run_guard.h"

namespace cmdgen {
namespace {

QtMessageHandler previous_handler = nullptr;

QString Name(std::string_view name) { return FromText(name); }

// Types each character as a key press carrying it, as an input method would;
// QTest::keyClicks takes ASCII only.
void Type(QWidget* widget, const QString& text) {
  for (QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(widget, &release);
  }
}

// What a modal message box showed, looked at by a timer while it is up.
struct SeenBox {
  bool found = false;
  QString title, text, default_button, escape_button;
  QStringList buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QWidget* parent = nullptr;
};

// Polls for the first modal message box, notes what it shows and hands it to
// `act`, which closes it.
void WatchForBox(QObject* context, QTimer& poll, SeenBox& seen,
                 std::function<void(QMessageBox&)> act) {
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, context, [&poll, &seen, act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    poll.stop();
    seen.found = true;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.parent = box->parentWidget();
    for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
    seen.buttons.sort();
    if (box->defaultButton() != nullptr) seen.default_button = box->defaultButton()->text();
    if (box->escapeButton() != nullptr) seen.escape_button = box->escapeButton()->text();
    act(*box);
  });
  poll.start();
}

QString InitialBlocks(int count) {
  QString out;
  for (int i = 0; i < count; ++i) {
    out += QStringLiteral("vlan %1\r\nport Ethernet0/0/%2\r\nquit\r\n")
               .arg(1124 + i % 23)
               .arg(1 + i % 23);
  }
  return out;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<QtWindowPort> port_;
  std::vector<CommandId> clicks_;

  QPlainTextEdit* Output() const {
    return qobject_cast<QPlainTextEdit*>(window_->Control(kOutputBox));
  }
  QString Content(std::string_view box) const { return FromText(port_->GetContent(box)); }
  void Set(std::string_view box, const QString& text) { port_->SetContent(box, ToText(text)); }
  QString FocusName() const {
    QWidget* focus = QApplication::focusWidget();
    return focus == nullptr ? QString() : focus->objectName();
  }
  void FocusOn(std::string_view name) {
    window_->Control(name)->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(FocusName(), Name(name));
  }

 private slots:
  void initTestCase() {
    // The offscreen platform says of some calls that it ignores them.
    previous_handler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
          if (message.startsWith(QLatin1String("This plugin does not support"))) return;
          previous_handler(type, context, message);
        });
  }

  void init() {
    window_ = std::make_unique<MainWindow>();
    port_ = std::make_unique<QtWindowPort>(*window_);
    clicks_.clear();
    window_->SetClickHandler([this](CommandId command) {
      clicks_.push_back(command);
      RunCommand(command, *port_);
    });
    window_->ShowCentred();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }

  void cleanup() {
    port_.reset();
    window_.reset();
  }

  void controlsFollowTheTable_data() {
    QTest::addColumn<int>("index");
    const WindowLayout& layout = MainWindowLayout();
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
      QTest::newRow(std::string(layout.controls[i].name).c_str()) << static_cast<int>(i);
    }
  }

  void controlsFollowTheTable() {
    QFETCH(int, index);
    const ControlLayout& control = MainWindowLayout().controls[static_cast<std::size_t>(index)];
    const QString name = Name(control.name);
    QWidget* widget = window_->findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget, window_->Control(control.name));
    QCOMPARE(widget->geometry(), QRect(control.left, control.top, control.width, control.height));
    QVERIFY(widget->isVisible());
    QVERIFY(widget->isEnabled());
    const QString text = FromText(control.initial_text);
    switch (control.kind) {
      case ControlKind::kEditBox:
        if (control.multi_line) {
          auto* box = qobject_cast<QPlainTextEdit*>(widget);
          QVERIFY(box != nullptr);
          QCOMPARE(Content(control.name), text);
          QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
          QCOMPARE(box->verticalScrollBar()->isVisible(), control.vertical_scroll_bar);
          QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
          QCOMPARE(box->textCursor().position(), 0);
          QVERIFY(!box->textCursor().hasSelection());
          QVERIFY(!box->isReadOnly());
        } else {
          auto* box = qobject_cast<QLineEdit*>(widget);
          QVERIFY(box != nullptr);
          QCOMPARE(box->text(), text);
          QCOMPARE(box->cursorPosition(), 0);
          QVERIFY(!box->isReadOnly());
          QCOMPARE(box->echoMode(), QLineEdit::Normal);
        }
        QCOMPARE(widget->focusPolicy(), Qt::StrongFocus);
        break;
      case ControlKind::kButton: {
        auto* button = qobject_cast<QPushButton*>(widget);
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), text);
        QVERIFY(!button->autoDefault());
        QVERIFY(!button->isDefault());
        break;
      }
      case ControlKind::kLabel: {
        auto* label = qobject_cast<QLabel*>(widget);
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(),
                 QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->wordWrap(), control.word_wrap);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        break;
      }
    }
  }

  void controlsStackAsListed() {
    // A parent lists its children bottom first.
    QStringList stacked;
    for (QObject* child : window_->children()) {
      if (child->isWidgetType()) stacked.prepend(child->objectName());
    }
    QStringList listed;
    for (const ControlLayout& control : MainWindowLayout().controls) listed << Name(control.name);
    QCOMPARE(stacked, listed);
  }

  void windowIsFixedAndCentred() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Tarnwick——Oselmar"));
    // The offscreen platform draws no frame, so the client area is the
    // whole outer size.
    QCOMPARE(window_->frameGeometry().size(), QSize(566, 459));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const Point centre = CentredPosition(MainWindowLayout(), screen.width(), screen.height());
    QCOMPARE(window_->frameGeometry().topLeft(), screen.topLeft() + QPoint(centre.x, centre.y));
  }

  void focusStartsInTheTemplate() { QTRY_COMPARE(FocusName(), Name(kTemplateBox)); }

  void focusReturnsOnReactivation() {
    FocusOn(kCopyButton);
    QWidget other;
    other.setObjectName(QStringLiteral("other"));
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!window_->isActiveWindow());
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTRY_COMPARE(FocusName(), Name(kCopyButton));
  }

  void tabMovesAlongTheTabOrder_data() {
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QStringList>("visited");
    const QStringList forward = {Name(kOutputBox),  Name(kGenerateButton), Name(kStartBox),
                                 Name(kEndBox),     Name(kCopyButton),     Name(kClearButton),
                                 Name(kTemplateBox)};
    QStringList backward = forward;
    std::reverse(backward.begin(), backward.end());
    backward.removeFirst();
    backward << Name(kTemplateBox);
    QTest::newRow("Tab") << false << forward;
    QTest::newRow("Shift+Tab") << true << backward;
  }

  void tabMovesAlongTheTabOrder() {
    QFETCH(bool, backwards);
    QFETCH(QStringList, visited);
    const QString template_before = Content(kTemplateBox);
    QTRY_COMPARE(FocusName(), Name(kTemplateBox));
    for (const QString& next : visited) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                      backwards ? Qt::ShiftModifier : Qt::NoModifier);
      QTRY_COMPARE(FocusName(), next);
    }
    // No tab character was typed into any box on the way.
    QCOMPARE(Content(kTemplateBox), template_before);
    QCOMPARE(Content(kOutputBox), QString());
    QVERIFY(clicks_.empty());
  }

  void tabWithCtrlTypesNothing() {
    QTRY_COMPARE(FocusName(), Name(kTemplateBox));
    QTest::keyClick(window_->Control(kTemplateBox), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(FocusName(), Name(kTemplateBox));
    QCOMPARE(Content(kTemplateBox),
             FromText(FindControl(MainWindowLayout(), kTemplateBox)->initial_text));
  }

  void escapeClosesFromEveryControl_data() {
    QTest::addColumn<QString>("control");
    for (std::size_t i : TabOrder(MainWindowLayout())) {
      const std::string_view name = MainWindowLayout().controls[i].name;
      QTest::newRow(std::string(name).c_str()) << Name(name);
    }
  }

  void escapeClosesFromEveryControl() {
    QFETCH(QString, control);
    FocusOn(ToText(control));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!window_->isVisible());
    QVERIFY(clicks_.empty());
  }

  void enterStartsALineOnlyInMultiLineBoxes_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("newLine");
    for (int modifiers : {int{Qt::NoModifier}, int{Qt::ShiftModifier}, int{Qt::ControlModifier}}) {
      for (std::size_t i : TabOrder(MainWindowLayout())) {
        const ControlLayout& control = MainWindowLayout().controls[i];
        QTest::addRow("%s %d", std::string(control.name).c_str(), modifiers)
            << Name(control.name) << modifiers << control.multi_line;
      }
    }
  }

  void enterStartsALineOnlyInMultiLineBoxes() {
    QFETCH(QString, control);
    QFETCH(int, modifiers);
    QFETCH(bool, newLine);
    Set(kOutputBox, QStringLiteral("ab"));
    auto* output = Output();
    QTextCursor cursor = output->textCursor();
    cursor.setPosition(1);
    output->setTextCursor(cursor);
    const std::string name = ToText(control);
    FocusOn(name);
    const QString before = Content(name);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return,
                    Qt::KeyboardModifiers::fromInt(static_cast<unsigned>(modifiers)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(FocusName(), control);
    QVERIFY(clicks_.empty());
    QVERIFY(window_->isVisible());
    if (!newLine) {
      QCOMPARE(Content(name), before);
    } else if (name == kOutputBox) {
      QCOMPARE(Content(name), QStringLiteral("a\r\n\r\nb"));
    } else {
      QCOMPARE(Content(name), QStringLiteral("\r\n\r\n") + before);
    }
  }

  void spaceClicksTheFocusedButton_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("command");
    for (const ControlLayout& control : MainWindowLayout().controls) {
      if (control.kind == ControlKind::kButton) {
        QTest::newRow(std::string(control.name).c_str())
            << Name(control.name) << static_cast<int>(control.click);
      }
    }
  }

  void spaceClicksTheFocusedButton() {
    QFETCH(QString, button);
    QFETCH(int, command);
    FocusOn(ToText(button));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(clicks_, std::vector<CommandId>{static_cast<CommandId>(command)});
  }

  void generateAppendsTheBlocks() {
    QTest::mouseClick(window_->Control(kGenerateButton), Qt::LeftButton);
    QCOMPARE(Content(kOutputBox), InitialBlocks(23));
    QPlainTextEdit* output = Output();
    QVERIFY(output->textCursor().atEnd());
    QVERIFY(!output->textCursor().hasSelection());
    QVERIFY(!output->document()->isUndoAvailable());
    QScrollBar* bar = output->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    QTest::mouseClick(window_->Control(kGenerateButton), Qt::LeftButton);
    QCOMPARE(Content(kOutputBox), InitialBlocks(46));
    QCOMPARE(clicks_.size(), std::size_t{2});
  }

  void generateGoesBehindTheUsersTextAndSelection() {
    QPlainTextEdit* output = Output();
    FocusOn(kOutputBox);
    Type(output, QStringLiteral("typed 中"));
    QTextCursor cursor = output->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    output->setTextCursor(cursor);
    GenerateIntoOutput(*port_);
    QCOMPARE(Content(kOutputBox), QStringLiteral("typed 中") + InitialBlocks(23));
    QVERIFY(output->textCursor().atEnd());
    QVERIFY(!output->textCursor().hasSelection());
    QVERIFY(!output->document()->isUndoAvailable());
  }

  void templateEndingInALineBreakLeavesEmptyLines() {
    Set(kTemplateBox, QStringLiteral("vlan {1}\r\n"));
    Set(kEndBox, QStringLiteral("1126"));
    GenerateIntoOutput(*port_);
    QCOMPARE(Content(kOutputBox),
             QStringLiteral("vlan 1124\r\n\r\nvlan 1125\r\n\r\nvlan 1126\r\n\r\n"));
  }

  void generateWithoutStepsLeavesTheBoxUntouched() {
    QPlainTextEdit* output = Output();
    FocusOn(kOutputBox);
    for (int i = 0; i < 60; ++i) QTest::keyClicks(output, QStringLiteral("line %1\r").arg(i));
    QScrollBar* bar = output->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    QTextCursor cursor = output->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(9, QTextCursor::KeepAnchor);
    output->setTextCursor(cursor);
    bar->setValue(bar->maximum() / 2);
    const QString content = Content(kOutputBox);
    const int scrolled = bar->value();
    QVERIFY(scrolled > 0);
    QVERIFY(output->document()->isUndoAvailable());
    QSignalSpy changes(output->document(), &QTextDocument::contentsChange);

    Set(kEndBox, QStringLiteral("1123"));
    QTest::mouseClick(window_->Control(kGenerateButton), Qt::LeftButton);

    QCOMPARE(clicks_.size(), std::size_t{1});
    QCOMPARE(Content(kOutputBox), content);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(output->textCursor().anchor(), 3);
    QCOMPARE(output->textCursor().position(), 9);
    QCOMPARE(bar->value(), scrolled);
    QVERIFY(output->document()->isUndoAvailable());
  }

  void aRunawayEndNumberAsksAndEnterKeepsTheBox() {
    Set(kOutputBox, QStringLiteral("kept"));
    QSignalSpy changes(Output()->document(), &QTextDocument::contentsChange);
    // One block more than a million.
    Set(kEndBox, QStringLiteral("1001124"));
    const RunEstimate estimate = EstimateRun(
        ToText(Content(kTemplateBox)), ToText(Content(kStartBox)), "1001124", Encoding::kUtf8);
    if (port_->OutputMemoryFor(estimate.bytes, estimate.lines) >
        port_->AvailableMemoryBytes().value_or(~std::uint64_t{0})) {
      QSKIP("this machine has too little memory left for the run: it is refused, not asked about");
    }
    SeenBox seen;
    QTimer poll;
    WatchForBox(this, poll, seen, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
    QTest::mouseClick(window_->Control(kGenerateButton), Qt::LeftButton);
    QVERIFY(seen.found);
    QCOMPARE(seen.title, QStringLiteral("确认"));
    QCOMPARE(seen.text,
             QStringLiteral("本次将生成 1,000,001 个块（约 35 MiB 文本），可能需要很长时间，"
                            "其间窗口无法操作。\n\n是否继续？"));
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons, (QStringList{QStringLiteral("否(&N)"), QStringLiteral("是(&Y)")}));
    QCOMPARE(seen.default_button, QStringLiteral("否(&N)"));
    QCOMPARE(seen.escape_button, QStringLiteral("否(&N)"));
    QCOMPARE(seen.parent, window_.get());
    QCOMPARE(Content(kOutputBox), QStringLiteral("kept"));
    QCOMPARE(changes.count(), 0);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
  }

  void questionBoxAnswersYesOnlyForYes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Enter") << int{Qt::Key_Return} << false;
    QTest::newRow("Esc") << int{Qt::Key_Escape} << false;
    QTest::newRow("N") << int{Qt::Key_N} << false;
    QTest::newRow("Y") << int{Qt::Key_Y} << true;
  }

  void questionBoxAnswersYesOnlyForYes() {
    QFETCH(int, key);
    QFETCH(bool, yes);
    SeenBox seen;
    QTimer poll;
    WatchForBox(this, poll, seen, [key](QMessageBox& box) {
      // Y and N are the buttons' mnemonics, pressed with Alt.
      const bool mnemonic = key == Qt::Key_Y || key == Qt::Key_N;
      QTest::keyClick(&box, static_cast<Qt::Key>(key), mnemonic ? Qt::AltModifier : Qt::NoModifier);
    });
    QCOMPARE(AskInMessageBox(window_.get(), "确认", "a\r\nb"), yes);
    QVERIFY(seen.found);
    QCOMPARE(seen.text, QStringLiteral("a\nb"));
  }

  void refusalTellsWhyAndLeavesTheBox() {
    struct Told {
      QWidget* parent = nullptr;
      QString caption, text;
      int asked = 0;
    } told;
    QtWindowPort port(*window_,
                      {[&told](QWidget*, std::string_view, std::string_view) {
                         ++told.asked;
                         return true;
                       },
                       [&told](QWidget* parent, std::string_view caption, std::string_view text) {
                         told = {parent, FromText(caption), FromText(text), told.asked};
                       }});
    Set(kOutputBox, QStringLiteral("kept"));
    QSignalSpy changes(Output()->document(), &QTextDocument::contentsChange);
    // Far more text than a text document can count.
    Set(kEndBox, QStringLiteral("2147483647"));
    GenerateIntoOutput(port);
    QCOMPARE(told.parent, window_.get());
    QCOMPARE(told.caption, QStringLiteral("提示"));
    QCOMPARE(told.text,
             QStringLiteral("本次将生成 2,147,482,524 个块（约 74 GiB 文本），"
                            "超出输出框所能容纳的文本量。\r\n\r\n已取消，输出框未作改动。"));
    QCOMPARE(told.asked, 0);
    QCOMPARE(Content(kOutputBox), QStringLiteral("kept"));
    QCOMPARE(changes.count(), 0);
  }

  void noticeBoxHasOneOkButton() {
    SeenBox seen;
    QTimer poll;
    WatchForBox(this, poll, seen,
                [](QMessageBox& box) { QTest::mouseClick(box.buttons().front(), Qt::LeftButton); });
    TellInMessageBox(window_.get(), "提示", "已取消。\r\n");
    QVERIFY(seen.found);
    QCOMPARE(seen.title, QStringLiteral("提示"));
    QCOMPARE(seen.text, QStringLiteral("已取消。\n"));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QStringList{QStringLiteral("确定")});
    QCOMPARE(seen.parent, window_.get());
  }

  void busyPointerLastsAsLongAsALongRun_data() {
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("busy");
    QTest::newRow("23 blocks") << QStringLiteral("1146") << false;
    QTest::newRow("8877 blocks, 26631 lines") << QStringLiteral("10000") << true;
  }

  void busyPointerLastsAsLongAsALongRun() {
    QFETCH(QString, end);
    QFETCH(bool, busy);
    Set(kEndBox, end);
    // The pointer as it is while the text goes into the box.
    QList<int> shapes;
    connect(Output()->document(), &QTextDocument::contentsChange, this, [&shapes] {
      const QCursor* cursor = QGuiApplication::overrideCursor();
      shapes << (cursor == nullptr ? -1 : int{cursor->shape()});
    });
    GenerateIntoOutput(*port_);
    QVERIFY(!shapes.isEmpty());
    for (int shape : shapes) QCOMPARE(shape, busy ? int{Qt::WaitCursor} : -1);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QVERIFY(Output()->textCursor().atEnd());
  }

  void outputMemoryGrowsWithTextAndLines() {
    const auto memory = [&](std::uint64_t bytes, std::uint64_t lines) {
      return port_->OutputMemoryFor(bytes, lines);
    };
    QCOMPARE(memory(1000, 10), std::optional<std::uint64_t>(1000 * QtWindowPort::kMemoryPerByte +
                                                            10 * QtWindowPort::kMemoryPerLine));
    QVERIFY(memory(2000, 10) > memory(1000, 10));
    QVERIFY(memory(1000, 20) > memory(1000, 10));
    // A document counts its characters in int, the final separator included.
    QVERIFY(memory(2147483646, 1).has_value());
    QVERIFY(!memory(2147483647, 1).has_value());
    Set(kOutputBox, QStringLiteral("abc"));
    QVERIFY(memory(2147483643, 1).has_value());
    QVERIFY(!memory(2147483644, 1).has_value());
    const std::optional<std::uint64_t> available = port_->AvailableMemoryBytes();
    QVERIFY(available.has_value());
    QVERIFY(*available > 0);
  }

  void copyAndClearReachTheClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    Set(kOutputBox, QStringLiteral("a\u00A0b\r\n\tc 中\r\n"));
    QTest::mouseClick(window_->Control(kCopyButton), Qt::LeftButton);
    QCOMPARE(clipboard->text(), QStringLiteral("a\u00A0b\r\n\tc 中\r\n"));
    QTest::mouseClick(window_->Control(kClearButton), Qt::LeftButton);
    QCOMPARE(Content(kOutputBox), QString());
    QTest::mouseClick(window_->Control(kCopyButton), Qt::LeftButton);
    QCOMPARE(clipboard->text(), QString());
    QTest::mouseClick(window_->Control(kClearButton), Qt::LeftButton);
    QCOMPARE(Content(kOutputBox), QString());
    QVERIFY(port_->SetClipboardText("中文\r\n"));
    QCOMPARE(clipboard->text(), QStringLiteral("中文\r\n"));
  }

  void contentRoundTrips_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("content");
    const struct {
      const char* name;
      QString text;
      QString content;
    } cases[] = {
        {"empty", QString(), QString()},
        {"no-break space and tabs", QStringLiteral("a\u00A0b\tc\u00A0\r\n\t"),
         QStringLiteral("a\u00A0b\tc\u00A0\r\n\t")},
        {"CJK and beyond", QStringLiteral("中文，“,”\r\n😀 ő"), QStringLiteral("中文，“,”\r\n😀 ő")},
        {"empty lines", QStringLiteral("\r\n\r\nx\r\n\r\n"), QStringLiteral("\r\n\r\nx\r\n\r\n")},
        {"line separator", QStringLiteral("a\u2028b"), QStringLiteral("a\u2028b")},
        {"lone breaks", QStringLiteral("a\rb\nc\r\r\nd"), QStringLiteral("a\r\nb\r\nc\r\n\r\nd")},
        {"paragraph separator", QStringLiteral("a\u2029b"), QStringLiteral("a\r\nb")},
    };
    for (std::string_view box : {kTemplateBox, kOutputBox}) {
      for (const auto& c : cases) {
        QTest::addRow("%s %s", std::string(box).c_str(), c.name)
            << Name(box) << c.text << c.content;
      }
    }
    QTest::newRow("one line, special")
        << Name(kStartBox) << QStringLiteral(" 1\u00A0,\t中 ") << QStringLiteral(" 1\u00A0,\t中 ");
    QTest::newRow("one line, long")
        << Name(kEndBox) << QString(40000, QLatin1Char('9')) << QString(40000, QLatin1Char('9'));
  }

  void contentRoundTrips() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, content);
    const std::string name = ToText(box);
    Set(name, text);
    QCOMPARE(Content(name), content);
    Set(name, QString());
    port_->AppendText(name, std::vector<std::string_view>{"x"});
    const std::string appended = ToText(text);
    port_->AppendText(name, std::vector<std::string_view>{appended, "y"});
    QCOMPARE(Content(name), QStringLiteral("x") + content + QStringLiteral("y"));
  }

  void typedCharactersComeBackUnchanged() {
    QPlainTextEdit* output = Output();
    FocusOn(kOutputBox);
    Type(output, QStringLiteral("a\u00A0b 中"));
    QTest::keyClick(output, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(output, QStringLiteral("c"));
    QCOMPARE(Content(kOutputBox), QStringLiteral("a\u00A0b 中\r\nc"));
  }

  void selectionIsHiddenWithoutTheFocus_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("deactivate");
    for (std::string_view box : {kTemplateBox, kOutputBox, kStartBox}) {
      QTest::addRow("%s, focus to a button", std::string(box).c_str()) << Name(box) << false;
      QTest::addRow("%s, window left", std::string(box).c_str()) << Name(box) << true;
    }
  }

  void selectionIsHiddenWithoutTheFocus() {
    QFETCH(QString, box);
    QFETCH(bool, deactivate);
    const std::string name = ToText(box);
    QWidget* widget = window_->Control(name);
    Set(name, QStringLiteral("select me"));
    FocusOn(name);
    if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
      multi->selectAll();
    } else {
      qobject_cast<QLineEdit*>(widget)->selectAll();
    }
    // The style's selection colours, whichever group the box paints with.
    const QColor active = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
    const QColor inactive = QApplication::palette().color(QPalette::Inactive, QPalette::Highlight);
    auto highlighted = [&] {
      const QImage image = widget->grab().toImage();
      int count = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          const QColor pixel = image.pixelColor(x, y);
          count += pixel == active || pixel == inactive;
        }
      }
      return count;
    };
    QVERIFY(highlighted() > 50);
    QWidget other;
    if (deactivate) {
      other.show();
      other.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&other));
    } else {
      FocusOn(kGenerateButton);
    }
    QTRY_COMPARE(highlighted(), 0);
    QCOMPARE(Content(name), QStringLiteral("select me"));
  }

  void longLinesWrapOnScreenOnly() {
    const QString line =
        QStringLiteral("interface GigabitEthernet0/0/1 description uplink to core");
    Set(kTemplateBox, line);
    QPlainTextEdit* box = qobject_cast<QPlainTextEdit*>(window_->Control(kTemplateBox));
    QCOMPARE(box->document()->blockCount(), 1);
    QTRY_VERIFY(box->document()->firstBlock().layout()->lineCount() > 1);
    QCOMPARE(Content(kTemplateBox), line);
  }
};

}  // namespace cmdgen

QTEST_MAIN(cmdgen::MainWindowTest)
#include "main_window_test.moc"
