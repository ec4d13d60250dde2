#include "window/qt/box_text.h"

#include <QByteArray>
#include <QTextDocument>
#include <utility>

namespace cmdgen {

QString MultiLineWidgetText(std::string_view text) {
  QString widget_text = FromText(text);
  widget_text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  widget_text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return widget_text;
}

namespace detail {

std::optional<Text> RawTextToContent(QStringView raw) {
  const char16_t* const begin = raw.utf16();
  const char16_t* const end = begin + raw.size();
  constexpr char16_t kParagraphSeparator = u'\u2029';
  const auto is_high = [](char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; };
  const auto is_low = [](char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; };

  std::size_t size = 0;
  for (const char16_t* at = begin; at != end; ++at) {
    const char16_t unit = *at;
    if (unit < 0x80) {
      size += 1;
    } else if (unit < 0x800 || unit == kParagraphSeparator) {
      size += 2;
    } else if (is_high(unit)) {
      if (at + 1 == end || !is_low(at[1])) return std::nullopt;
      size += 4;
      ++at;
    } else if (is_low(unit)) {
      return std::nullopt;
    } else {
      size += 3;
    }
  }

  Text content(size, '\0');
  char* out = content.data();
  const auto put = [&out](unsigned value) { *out++ = static_cast<char>(value); };
  for (const char16_t* at = begin; at != end; ++at) {
    const char16_t unit = *at;
    if (unit < 0x80) {
      put(unit);
    } else if (unit == kParagraphSeparator) {
      put('\r');
      put('\n');
    } else if (unit < 0x800) {
      put(0xC0u | (unit >> 6));
      put(0x80u | (unit & 0x3Fu));
    } else if (is_high(unit)) {
      const unsigned code = 0x10000u + ((unit - 0xD800u) << 10) + (at[1] - 0xDC00u);
      ++at;
      put(0xF0u | (code >> 18));
      put(0x80u | ((code >> 12) & 0x3Fu));
      put(0x80u | ((code >> 6) & 0x3Fu));
      put(0x80u | (code & 0x3Fu));
    } else {
      put(0xE0u | (unit >> 12));
      put(0x80u | ((unit >> 6) & 0x3Fu));
      put(0x80u | (unit & 0x3Fu));
    }
  }
  return content;
}

Text RawTextToContentSlow(const QString& raw) {
  const QByteArray utf8 = raw.toUtf8();
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

}  // namespace detail

Text MultiLineContent(const QTextDocument& document) {
  // toPlainText() would turn no-break spaces into spaces and line separators
  // into line feeds; the raw text keeps every character and separates the
  // blocks, that is the lines, by U+2029 PARAGRAPH SEPARATOR alone.
  const QString raw = document.toRawText();
  if (std::optional<Text> content = detail::RawTextToContent(raw)) return *std::move(content);
  return detail::RawTextToContentSlow(raw);
}

Text ToText(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Text(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

QString FromText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace cmdgen
