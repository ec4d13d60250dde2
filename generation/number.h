// Number conversions: reading number texts, writing numbers, truncation.
#ifndef CMDGEN_GENERATION_NUMBER_H_
#define CMDGEN_GENERATION_NUMBER_H_

#include <cstdint>
#include <string_view>

#include "generation/text.h"

namespace cmdgen {

/// Reads the leading number of a text as the nearest double (ties to even).
/// Leading white space is skipped, full-width digits, signs, point, exponent
/// letters and the ideographic space read as their ASCII forms, the exponent
/// letter may be e, E, d or D, and the first byte that fits no number ends it.
/// A text that holds no number reads as +0.0; none reads as infinity or NaN.
/// TextToNumber("  1.5d2abc") -> 150.0
double TextToNumber(std::string_view text, Encoding encoding = Encoding::kUtf8);

/// Writes an integer in decimal, with a "-" before a negative value.
/// NumberToText(-5) -> "-5"
Text NumberToText(std::int32_t value);

/// Writes a double as "%.13g" would, except that the exact value is first
/// rounded half up to 17 significant digits and then to 13, the exponent has
/// at least three digits, both zeros are "0", and the infinities are "1.#INF"
/// and "-1.#INF".
/// NumberToText(0.00001) -> "1e-005"
Text NumberToText(double value);

/// Rounds toward zero to a 64-bit integer; NaN, the infinities and values
/// outside the 64-bit range give -2^63.
/// TruncateToInteger(-2.9) -> -2
std::int64_t TruncateToInteger(double value);

/// The low 32 bits of a 64-bit integer, read as a two's-complement value.
/// LowBits32(4294967297) -> 1
constexpr std::int32_t LowBits32(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

namespace detail {

/// Writes the double through the exact big-number expansion alone: the
/// reference that the fast path of NumberToText is checked against.
Text NumberToTextExact(double value);

}  // namespace detail

}  // namespace cmdgen

#endif  // CMDGEN_GENERATION_NUMBER_H_
