// Text operations: splitting, joining, searching and replacing byte strings.
#ifndef CMDGEN_GENERATION_TEXT_H_
#define CMDGEN_GENERATION_TEXT_H_

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cmdgen {

/// A byte string. An absent text and the empty text are the same value.
using Text = std::string;

/// A counted list of texts, as made by SplitText.
using TextArray = std::vector<Text>;

/// How a text is walked one character at a time. A search only matches where a
/// character begins, so a byte inside a character never starts a match.
enum class Encoding {
  /// UTF-8: a lead byte with its continuation bytes is one character; a byte
  /// that begins no valid sequence is a character by itself.
  kUtf8,
  /// A double-byte code page such as 936: every byte of 0x80 or above begins a
  /// two-byte character with the byte after it, unless it is the last byte.
  kDoubleByte,
};

/// Cuts `text` at every `delimiter` that begins at a character start. A
/// delimiter at the very end adds no empty member; an empty text has none.
/// SplitText("1,,2", ",") -> {"1", "", "2"}
TextArray SplitText(std::string_view text, std::string_view delimiter = ",",
                    Encoding encoding = Encoding::kUtf8);

/// The 1-based byte position of the first occurrence of `sought` that begins at
/// a character start at or after `start`, or -1. A start of 1 or less, or none,
/// searches from the beginning. An empty `sought` is found nowhere.
/// FindText("a{1}b{1}", "{1}", 3) -> 6
std::int32_t FindText(std::string_view text, std::string_view sought,
                      std::optional<std::int32_t> start = std::nullopt, bool ignore_case = false,
                      Encoding encoding = Encoding::kUtf8);

/// Replaces `length` bytes at the 1-based `position` by `replacement`, with the
/// position and length first brought inside the text.
/// ReplaceText("vlan {1}", 6, 3, "1124") -> "vlan 1124"
Text ReplaceText(std::string_view text, std::int32_t position, std::int32_t length,
                 std::string_view replacement);

/// Concatenates the parts in order into one new text.
/// JoinTexts({"{", "12", "}"}) -> "{12}"
Text JoinTexts(std::initializer_list<std::string_view> parts);

namespace detail {

/// The byte length of the character that begins at `offset` (at least 1, and
/// never past the end of `text`).
std::size_t CharacterLength(std::string_view text, std::size_t offset, Encoding encoding);

}  // namespace detail

}  // namespace cmdgen

#endif  // CMDGEN_GENERATION_TEXT_H_
