// Conversions between the texts of the window's commands (UTF-8, lines
// separated by "\r\n") and what Qt's widgets keep.
#ifndef CMDGEN_WINDOW_QT_BOX_TEXT_H_
#define CMDGEN_WINDOW_QT_BOX_TEXT_H_

#include <QString>
#include <QStringView>
#include <optional>
#include <string_view>

#include "generation/text.h"

class QTextDocument;

namespace cmdgen {

/// The text for a multi-line widget: each "\r\n", and each "\r" or "\n" that
/// stands alone, becomes one line break, since the widget holds no other form
/// of them; every other character is kept.
/// MultiLineWidgetText("a\r\nb\nc") -> u"a\nb\nc"
QString MultiLineWidgetText(std::string_view text);

/// The document's whole text, its lines separated by "\r\n"; every character
/// inside a line, such as a no-break space or a tab, comes back unchanged.
/// MultiLineContent(document holding the lines "a" and "b") -> "a\r\nb"
Text MultiLineContent(const QTextDocument& document);

namespace detail {

/// A document's raw text (its lines separated by U+2029 PARAGRAPH SEPARATOR)
/// as UTF-8 with "\r\n" line breaks, sized first and written in one pass;
/// nothing when the text holds a UTF-16 surrogate without its partner, which
/// RawTextToContentSlow converts as Qt does.
/// RawTextToContent(u"a\u2029中") -> "a\r\n\xE4\xB8\xAD"
std::optional<Text> RawTextToContent(QStringView raw);

/// The same through QString::toUtf8, for every text.
/// RawTextToContentSlow(u"a\u2029b") -> "a\r\nb"
Text RawTextToContentSlow(const QString& raw);

}  // namespace detail

/// The UTF-8 bytes of a one-line widget's or label's text, unchanged.
/// ToText(u"1124,1") -> "1124,1"
Text ToText(const QString& text);

/// The text for a one-line widget, unchanged.
/// FromText("1146") -> u"1146"
QString FromText(std::string_view text);

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_QT_BOX_TEXT_H_
