#include "generation/text.h"

#include <algorithm>

namespace cmdgen {
namespace detail {

std::size_t CharacterLength(std::string_view text, std::size_t offset, Encoding encoding) {
  const auto lead = static_cast<unsigned char>(text[offset]);
  if (lead < 0x80) return 1;
  const std::size_t left = text.size() - offset;
  if (encoding == Encoding::kDoubleByte) return left >= 2 ? 2 : 1;
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 1;  // a stray continuation byte or a byte that never leads
  }
  if (length > left) return 1;
  // A lead byte whose continuation bytes are missing stands alone, so that a
  // following ASCII "{" or "," is still seen where it begins.
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[offset + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace detail

namespace {

bool EqualAt(std::string_view text, std::size_t offset, std::string_view sought, bool ignore_case) {
  if (!ignore_case) return text.compare(offset, sought.size(), sought) == 0;
  for (std::size_t i = 0; i < sought.size(); ++i) {
    auto a = static_cast<unsigned char>(text[offset + i]);
    auto b = static_cast<unsigned char>(sought[i]);
    if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

}  // namespace

TextArray SplitText(std::string_view text, std::string_view delimiter, Encoding encoding) {
  TextArray members;
  if (text.empty()) return members;
  if (delimiter.empty()) {
    members.emplace_back(text);
    return members;
  }
  std::size_t member_start = 0;
  std::size_t at = 0;
  while (text.size() - at >= delimiter.size()) {
    if (text.compare(at, delimiter.size(), delimiter) == 0) {
      members.emplace_back(text.substr(member_start, at - member_start));
      at += delimiter.size();
      member_start = at;
    } else {
      at += detail::CharacterLength(text, at, encoding);
    }
  }
  if (member_start < text.size()) members.emplace_back(text.substr(member_start));
  return members;
}

std::int32_t FindText(std::string_view text, std::string_view sought,
                      std::optional<std::int32_t> start, bool ignore_case, Encoding encoding) {
  if (sought.empty()) return -1;
  std::size_t at = 0;
  if (start && *start > 1) at = static_cast<std::size_t>(*start) - 1;
  while (at < text.size() && text.size() - at >= sought.size()) {
    if (EqualAt(text, at, sought, ignore_case)) return static_cast<std::int32_t>(at + 1);
    at += detail::CharacterLength(text, at, encoding);
  }
  return -1;
}

Text ReplaceText(std::string_view text, std::int32_t position, std::int32_t length,
                 std::string_view replacement) {
  const auto size = static_cast<std::int64_t>(text.size());
  const std::int64_t index = std::clamp<std::int64_t>(std::int64_t{position} - 1, 0, size);
  const std::int64_t count = std::clamp<std::int64_t>(length, 0, size - index);
  const auto head = static_cast<std::size_t>(index);
  const auto tail = static_cast<std::size_t>(index + count);
  Text result;
  result.reserve(text.size() - (tail - head) + replacement.size());
  result.append(text.substr(0, head));
  result.append(replacement);
  result.append(text.substr(tail));
  return result;
}

Text JoinTexts(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (std::string_view part : parts) total += part.size();
  Text result;
  result.reserve(total);
  for (std::string_view part : parts) result.append(part);
  return result;
}

}  // namespace cmdgen
