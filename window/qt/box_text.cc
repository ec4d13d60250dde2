#include "window/qt/box_text.h"

#include <QByteArray>
#include <QTextDocument>

namespace cmdgen {

QString MultiLineWidgetText(std::string_view text) {
  QString widget_text = FromText(text);
  widget_text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  widget_text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return widget_text;
}

Text MultiLineContent(const QTextDocument& document) {
  // toPlainText() would turn no-break spaces into spaces and line separators
  // into line feeds; the raw text keeps every character and separates the
  // blocks, that is the lines, by U+2029 PARAGRAPH SEPARATOR alone.
  const QByteArray utf8 = document.toRawText().toUtf8();
  static constexpr char kParagraphSeparator[] = "\xE2\x80\xA9";
  static constexpr std::size_t kSeparatorBytes = sizeof kParagraphSeparator - 1;
  Text content;
  // A separator is three bytes and its "\r\n" two, so the content never
  // outgrows the UTF-8 text.
  content.reserve(static_cast<std::size_t>(utf8.size()));
  std::string_view rest(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  for (std::size_t at;
       (at = rest.find(kParagraphSeparator, 0, kSeparatorBytes)) != std::string_view::npos;) {
    content.append(rest.substr(0, at));
    content.append("\r\n");
    rest.remove_prefix(at + kSeparatorBytes);
  }
  content.append(rest);
  return content;
}

Text ToText(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Text(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

QString FromText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace cmdgen
