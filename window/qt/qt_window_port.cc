#include "window/qt/qt_window_port.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <limits>
#include <new>

#include "window/allocation.h"
#include "window/qt/available_memory.h"
#include "window/qt/box_text.h"
#include "window/qt/main_window.h"
#include "window/run_guard.h"

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

// Appends the texts one after the other, as if for each the caret went to
// the end (giving up whatever the user had selected), scrolled into view and
// the text went in there. Nothing else moves the caret or the view between
// the texts, so placing the caret once before and scrolling once after gives
// the same end.
void AppendToMultiLine(QPlainTextEdit& box, std::span<const std::string_view> texts) {
  QTextCursor cursor = box.textCursor();
  cursor.movePosition(QTextCursor::End);
  box.setTextCursor(cursor);
  // Turning the undo history off for the insertion keeps it out of the
  // history; it also empties the history, so that no earlier step can be
  // undone across text it never saw.
  QTextDocument& document = *box.document();
  document.setUndoRedoEnabled(false);
  for (std::string_view text : texts) {
    // The cursor makes one line break of each "\r\n", and of each "\r" or
    // "\n" that stands alone, just as MultiLineWidgetText does; the text goes
    // in as it stands, without a second pass over it.
    if (!text.empty()) {
      WithQtMemory(text.size(), [&] { cursor.insertText(FromText(text)); });
    }
  }
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
  if (texts.empty()) return;
  QWidget* widget = window_.Control(box);
  if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
    AppendToMultiLine(*multi, texts);
    return;
  }
  if (auto* one = qobject_cast<QLineEdit*>(widget)) {
    for (std::string_view text : texts) {
      WithQtMemory(text.size(), [&] { AppendToOneLine(*one, text); });
    }
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

bool QtWindowPort::AskToContinue(std::string_view question) {
  return boxes_.ask(&window_, kRunQuestionCaption, question);
}

void QtWindowPort::ShowRefusal(std::string_view message) {
  boxes_.tell(&window_, kRunRefusalCaption, message);
}

std::optional<std::uint64_t> QtWindowPort::OutputMemoryFor(std::uint64_t bytes,
                                                           std::uint64_t lines) {
  // A document counts its characters in int. Each byte of UTF-8 gives at most
  // one UTF-16 unit, so the bytes bound the characters to come.
  constexpr auto kMostCharacters = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
  const auto* output = qobject_cast<QPlainTextEdit*>(window_.Control(kOutputBox));
  const auto held =
      output == nullptr ? 0 : static_cast<std::uint64_t>(output->document()->characterCount());
  if (held > kMostCharacters || bytes > kMostCharacters - held) return std::nullopt;
  // Below 2^31 bytes and with no more lines than bytes, nothing overflows.
  return bytes * kMemoryPerByte + std::min(lines, bytes) * kMemoryPerLine;
}

std::optional<std::uint64_t> QtWindowPort::AvailableMemoryBytes() const {
  return AvailableMemory();
}

void QtWindowPort::ShowBusy(bool busy) noexcept {
  try {
    if (!busy) {
      QGuiApplication::restoreOverrideCursor();
      return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // The new cursor reaches the window system only when its connection is
    // flushed, which the event loop does. Input waits meanwhile, so that no
    // click runs a command inside this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  } catch (...) {
    // Only the pointer's look is lost; the run goes on.
  }
}

}  // namespace cmdgen
