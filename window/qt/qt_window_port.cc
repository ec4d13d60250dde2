#include "window/qt/qt_window_port.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <new>

#include "window/allocation.h"
#include "window/qt/box_text.h"
#include "window/qt/main_window.h"

namespace cmdgen {
namespace {

// Qt reports a failed allocation as a plain std::bad_alloc; give it the size
// that was asked of Qt, which is about two bytes per character of UTF-16.
template <typename F>
auto WithQtMemory(std::size_t characters, F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const AllocationFailure&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw AllocationFailure(characters * sizeof(char16_t));
  }
}

void AppendToMultiLine(QPlainTextEdit& box, std::string_view text) {
  // The end is measured afresh for every text, and the caret goes there,
  // giving up whatever the user had selected.
  QTextCursor cursor = box.textCursor();
  cursor.movePosition(QTextCursor::End);
  box.setTextCursor(cursor);
  box.ensureCursorVisible();
  if (text.empty()) return;
  const QString widget_text = MultiLineWidgetText(text);
  // Turning the undo history off for the insertion keeps it out of the
  // history; it also empties the history, so that no earlier step can be
  // undone across text it never saw.
  QTextDocument& document = *box.document();
  document.setUndoRedoEnabled(false);
  cursor.insertText(widget_text);
  document.setUndoRedoEnabled(true);
  box.setTextCursor(cursor);
  box.ensureCursorVisible();
}

void AppendToOneLine(QLineEdit& box, std::string_view text) {
  box.deselect();
  if (!text.empty()) box.setText(box.text() + FromText(text));
  box.end(false);
}

}  // namespace

Text QtWindowPort::GetContent(std::string_view box) {
  QWidget* widget = window_.Control(box);
  if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
    const auto characters = static_cast<std::size_t>(multi->document()->characterCount());
    return WithQtMemory(characters, [&] { return MultiLineContent(*multi->document()); });
  }
  if (auto* one = qobject_cast<QLineEdit*>(widget)) {
    const auto characters = static_cast<std::size_t>(one->text().size());
    return WithQtMemory(characters, [&] { return ToText(one->text()); });
  }
  return {};
}

void QtWindowPort::SetContent(std::string_view box, std::string_view text) {
  QWidget* widget = window_.Control(box);
  WithQtMemory(text.size(), [&] {
    if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
      multi->setPlainText(MultiLineWidgetText(text));
    } else if (auto* one = qobject_cast<QLineEdit*>(widget)) {
      one->setText(FromText(text));
    }
  });
}

void QtWindowPort::AppendText(std::string_view box, std::span<const std::string_view> texts) {
  QWidget* widget = window_.Control(box);
  for (std::string_view text : texts) {
    WithQtMemory(text.size(), [&] {
      if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
        AppendToMultiLine(*multi, text);
      } else if (auto* one = qobject_cast<QLineEdit*>(widget)) {
        AppendToOneLine(*one, text);
      }
    });
  }
}

bool QtWindowPort::SetClipboardText(std::string_view text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  const QString value = WithQtMemory(text.size(), [&] { return FromText(text); });
  clipboard->setText(value, QClipboard::Clipboard);
  // Where the platform tells ownership (X11, Windows) that settles it;
  // elsewhere the clipboard is read back.
  return clipboard->ownsClipboard() || clipboard->text(QClipboard::Clipboard) == value;
}

}  // namespace cmdgen
