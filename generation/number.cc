#include "generation/number.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>  // from_chars for the correctly rounded decimal-to-binary step
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace cmdgen {
namespace {

// ---------------------------------------------------------------------------
// Reading numbers

// The scanner sees the text through the narrowing step: full-width forms of
// the characters that can belong to a number read as their ASCII forms, every
// other non-ASCII character reads as kStop, which fits no number.
constexpr char kStop = '\0';

struct Unit {
  char byte;
  std::size_t next;
};

Unit ReadUnit(std::string_view text, std::size_t at, Encoding encoding) {
  const auto b0 = static_cast<unsigned char>(text[at]);
  if (b0 < 0x80) return {static_cast<char>(b0), at + 1};
  if (encoding == Encoding::kDoubleByte) {
    if (at + 1 >= text.size()) return {kStop, text.size()};  // a lone lead byte is dropped
    const auto b1 = static_cast<unsigned char>(text[at + 1]);
    char narrowed = kStop;
    if (b0 == 0xA3 && b1 >= 0xA1 && b1 != 0xFF) {
      narrowed = static_cast<char>(b1 - 0x80);
    } else if (b0 == 0xA1 && b1 == 0xA1) {
      narrowed = ' ';
    } else if (b0 == 0xA1 && b1 == 0xAB) {
      narrowed = '~';
    } else if (b0 == 0xA1 && (b1 == 0xEE || b1 == 0xEF)) {
      narrowed = '*';
    }
    return {narrowed, at + 2};
  }
  const std::size_t length = detail::CharacterLength(text, at, encoding);
  if (length == 3) {
    const unsigned code = (b0 & 0x0Fu) << 12 |
                          (static_cast<unsigned char>(text[at + 1]) & 0x3Fu) << 6 |
                          (static_cast<unsigned char>(text[at + 2]) & 0x3Fu);
    // Full-width forms U+FF01..U+FF5E map onto ASCII 0x21..0x7E; U+3000 is the
    // ideographic space.
    if (code >= 0xFF01 && code <= 0xFF5E) return {static_cast<char>(code - 0xFF00 + 0x20), at + 3};
    if (code == 0x3000) return {' ', at + 3};
  }
  return {kStop, at + length};
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a number text: its significant digits N (no leading or trailing
// zeros) and its decimal exponent S, so that the value is N x 10^S.
struct DecimalParts {
  bool negative = false;
  bool has_digit = false;
  std::string digits;
  std::int64_t exponent = 0;
};

constexpr std::int64_t kExponentClamp = 5200;

DecimalParts ScanNumber(std::string_view text, Encoding encoding) {
  DecimalParts parts;
  std::size_t at = 0;
  Unit unit{kStop, 0};
  auto peek = [&] { return at < text.size() ? ReadUnit(text, at, encoding) : Unit{kStop, at}; };

  for (unit = peek(); unit.byte == ' ' || (unit.byte >= '\t' && unit.byte <= '\r'); unit = peek()) {
    at = unit.next;
  }
  if (unit.byte == '+' || unit.byte == '-') {
    parts.negative = unit.byte == '-';
    at = unit.next;
    unit = peek();
  }
  std::int64_t point_shift = 0;
  for (; IsDigit(unit.byte); unit = peek()) {
    parts.has_digit = true;
    if (unit.byte != '0' || !parts.digits.empty()) parts.digits.push_back(unit.byte);
    at = unit.next;
  }
  // Every digit after the point lowers the exponent, kept or not.
  if (unit.byte == '.') {
    at = unit.next;
    for (unit = peek(); IsDigit(unit.byte); unit = peek()) {
      parts.has_digit = true;
      --point_shift;
      if (unit.byte != '0' || !parts.digits.empty()) parts.digits.push_back(unit.byte);
      at = unit.next;
    }
  }
  if (!parts.has_digit) return DecimalParts{};

  std::int64_t exponent = 0;
  if (unit.byte == 'e' || unit.byte == 'E' || unit.byte == 'd' || unit.byte == 'D') {
    std::size_t look = unit.next;
    bool exponent_negative = false;
    Unit next = look < text.size() ? ReadUnit(text, look, encoding) : Unit{kStop, look};
    if (next.byte == '+' || next.byte == '-') {
      exponent_negative = next.byte == '-';
      look = next.next;
      next = look < text.size() ? ReadUnit(text, look, encoding) : Unit{kStop, look};
    }
    // Without a digit the letter is not part of the number.
    for (; IsDigit(next.byte);
         next = look < text.size() ? ReadUnit(text, look, encoding) : Unit{kStop, look}) {
      if (exponent <= kExponentClamp) exponent = exponent * 10 + (next.byte - '0');
      look = next.next;
    }
    if (exponent > kExponentClamp) exponent = kExponentClamp + 1;
    if (exponent_negative) exponent = -exponent;
  }

  std::size_t kept = parts.digits.size();
  while (kept > 0 && parts.digits[kept - 1] == '0') --kept;
  point_shift += static_cast<std::int64_t>(parts.digits.size() - kept);
  parts.digits.resize(kept);
  parts.exponent = point_shift + exponent;
  return parts;
}

constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double DecimalToDouble(const DecimalParts& parts) {
  const double sign = parts.negative ? -1.0 : 1.0;
  if (parts.digits.empty()) return sign * 0.0;
  if (parts.exponent > kExponentClamp) return sign * std::numeric_limits<double>::infinity();
  if (parts.exponent < -kExponentClamp) return sign * 0.0;

  // Fast path: N and 10^|S| are both exact doubles, so one IEEE multiplication
  // or division rounds the value correctly.
  if (parts.digits.size() <= 15 && parts.exponent >= -22 && parts.exponent <= 22) {
    std::uint64_t n = 0;
    for (char c : parts.digits) n = n * 10 + static_cast<std::uint64_t>(c - '0');
    const auto value = static_cast<double>(n);
    const double scale = kExactPowersOfTen[static_cast<std::size_t>(
        parts.exponent < 0 ? -parts.exponent : parts.exponent)];
    return sign * (parts.exponent < 0 ? value / scale : value * scale);
  }

  std::string scientific = parts.digits;
  scientific.push_back('e');
  scientific += std::to_string(parts.exponent);
  double value = 0.0;
  const auto result = std::from_chars(scientific.data(), scientific.data() + scientific.size(),
                                      value, std::chars_format::scientific);
  if (result.ec == std::errc::result_out_of_range) {
    // Out of range means beyond the largest double or below the smallest
    // subnormal; a magnitude of at least 1 can only be the former.
    const bool at_least_one = static_cast<std::int64_t>(parts.digits.size()) + parts.exponent > 0;
    value = at_least_one ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return sign * value;
}

// ---------------------------------------------------------------------------
// Writing numbers

constexpr std::uint64_t kTen13 = 10'000'000'000'000;
constexpr std::uint64_t kTen16 = 10'000'000'000'000'000;
constexpr std::uint64_t kTen17 = 100'000'000'000'000'000;

// base^0, base^1, ... base^(N-1).
template <typename T, std::size_t N>
constexpr std::array<T, N> Powers(T base) {
  std::array<T, N> powers{};
  T p = 1;
  for (auto& power : powers) {
    power = p;
    p *= base;
  }
  return powers;
}

constexpr auto kPowersOfTen = Powers<std::uint64_t, 20>(10);

// A positive magnitude as D1.D2...D17 x 10^E: `digits` holds D1..D17 as one
// integer in [10^16, 10^17).
struct Digits17 {
  std::uint64_t digits;
  int exponent;
};

// Rounds a decimal digit string (the exact expansion, first digit non-zero)
// half up to 17 digits.
Digits17 RoundTo17(std::string_view exact, int exponent) {
  std::uint64_t digits = 0;
  for (std::size_t i = 0; i < 17; ++i) {
    digits = digits * 10 + (i < exact.size() ? static_cast<std::uint64_t>(exact[i] - '0') : 0);
  }
  if (exact.size() > 17 && exact[17] >= '5') ++digits;
  if (digits == kTen17) {
    digits = kTen16;
    ++exponent;
  }
  return {digits, exponent};
}

// Exact expansion of m x 2^e2 with a little big-number arithmetic on 32-bit
// limbs (least significant first). The slow path, and the reference.
Digits17 ExactDigits17(std::uint64_t mantissa, int e2) {
  std::vector<std::uint32_t> limbs = {static_cast<std::uint32_t>(mantissa),
                                      static_cast<std::uint32_t>(mantissa >> 32)};
  auto multiply = [&limbs](std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs.push_back(static_cast<std::uint32_t>(carry));
  };
  // m x 2^e2 = m x 2^e2 exactly for e2 >= 0, and m x 5^k / 10^k for e2 = -k.
  int decimal_shift = 0;
  if (e2 >= 0) {
    for (int left = e2; left > 0; left -= 31) multiply(1u << (left < 31 ? left : 31));
  } else {
    decimal_shift = -e2;
    for (int left = -e2; left > 0; left -= 13) {
      std::uint32_t power = 1;
      for (int i = 0; i < (left < 13 ? left : 13); ++i) power *= 5;
      multiply(power);
    }
  }
  // Peel off nine decimal digits at a time.
  std::vector<std::uint32_t> chunks;
  while (!limbs.empty()) {
    std::uint64_t remainder = 0;
    for (auto it = limbs.rbegin(); it != limbs.rend(); ++it) {
      const std::uint64_t current = remainder << 32 | *it;
      *it = static_cast<std::uint32_t>(current / 1'000'000'000);
      remainder = current % 1'000'000'000;
    }
    chunks.push_back(static_cast<std::uint32_t>(remainder));
    while (!limbs.empty() && limbs.back() == 0) limbs.pop_back();
  }
  std::string exact = std::to_string(chunks.back());
  for (auto it = chunks.rbegin() + 1; it != chunks.rend(); ++it) {
    const std::string chunk = std::to_string(*it);
    exact.append(9 - chunk.size(), '0');
    exact += chunk;
  }
  const int exponent = static_cast<int>(exact.size()) - 1 - decimal_shift;
  return RoundTo17(exact, exponent);
}

// Splits a positive finite double into an integer mantissa m and e2 with
// value = m x 2^e2.
void Decompose(double magnitude, std::uint64_t& mantissa, int& e2) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const auto biased = static_cast<int>(bits >> 52);
  mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0) {
    e2 = -1074;
  } else {
    mantissa |= std::uint64_t{1} << 52;
    e2 = biased - 1075;
  }
  // Dropping trailing zero bits keeps the big numbers and the fast path's
  // products small.
  const int zeros = std::countr_zero(mantissa);
  mantissa >>= zeros;
  e2 += zeros;
}

__extension__ typedef unsigned __int128 Uint128;

constexpr auto kPowersOfTen128 = Powers<Uint128, 39>(10);

// 5^55 is the largest power of five below 2^128.
constexpr auto kPowersOfFive128 = Powers<Uint128, 56>(5);

// The number of decimal digits of a non-zero value below 2^128.
int DecimalLength(Uint128 value) {
  int length = 1;
  while (length < 39 && value >= kPowersOfTen128[static_cast<std::size_t>(length)]) ++length;
  return length;
}

// Fast path: when m x 5^k fits in 128 bits the exact expansion is a 128-bit
// integer, and the digits come from plain integer division. Refuses (returns
// false) for everything else.
bool FastDigits17(std::uint64_t mantissa, int e2, Digits17& out) {
  Uint128 exact = mantissa;
  int decimal_shift = 0;
  if (e2 >= 0) {
    if (e2 > 127 - static_cast<int>(std::bit_width(mantissa))) return false;
    exact <<= e2;
  } else {
    // m x 5^k must stay below 2^128; log2(5) < 2.33.
    if (static_cast<int>(std::bit_width(mantissa)) + (-e2 * 233 + 99) / 100 > 127) return false;
    exact *= kPowersOfFive128[static_cast<std::size_t>(-e2)];
    decimal_shift = -e2;
  }
  const int length = DecimalLength(exact);
  int exponent = length - 1 - decimal_shift;
  std::uint64_t digits = 0;
  if (length <= 17) {
    digits =
        static_cast<std::uint64_t>(exact) * kPowersOfTen[static_cast<std::size_t>(17 - length)];
  } else {
    const Uint128 divisor = kPowersOfTen128[static_cast<std::size_t>(length - 18)];
    const Uint128 eighteen = exact / divisor;  // the first 18 digits, truncated
    digits = static_cast<std::uint64_t>(eighteen / 10);
    if (eighteen % 10 >= 5) ++digits;
    if (digits == kTen17) {
      digits = kTen16;
      ++exponent;
    }
  }
  out = {digits, exponent};
  return true;
}

// The longest text written: "-1.234567890123e-308".
constexpr std::size_t kMaxNumberText = 24;

// Writes the 13 digits D1..D13 with exponent E in the positional or the
// exponent form. The text is built on the stack and copied once, so that
// short results stay inside the string's own buffer.
Text FormatDigits13(bool negative, std::uint64_t digits13, int exponent) {
  std::array<char, 13> d{};
  for (int i = 12; i >= 0; --i) {
    d[static_cast<std::size_t>(i)] = static_cast<char>('0' + digits13 % 10);
    digits13 /= 10;
  }
  std::size_t significant = 13;
  while (significant > 1 && d[significant - 1] == '0') --significant;

  std::array<char, kMaxNumberText> buffer{};
  char* out = buffer.data();
  auto put = [&out](const char* from, std::size_t count) { out = std::copy_n(from, count, out); };
  if (negative) *out++ = '-';
  if (exponent < -4 || exponent >= 13) {
    *out++ = d[0];
    if (significant > 1) {
      *out++ = '.';
      put(d.data() + 1, significant - 1);
    }
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 100) *out++ = '0';
    if (magnitude < 10) *out++ = '0';
    out = std::to_chars(out, buffer.data() + buffer.size(), magnitude).ptr;
  } else if (exponent >= 0) {
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    put(d.data(), whole);
    if (significant > whole) {
      *out++ = '.';
      put(d.data() + whole, significant - whole);
    }
  } else {
    *out++ = '0';
    *out++ = '.';
    out = std::fill_n(out, -exponent - 1, '0');
    put(d.data(), significant);
  }
  return Text(buffer.data(), out);
}

Text FormatFromDigits17(bool negative, Digits17 d17) {
  std::uint64_t digits13 = d17.digits / 10'000;
  int exponent = d17.exponent;
  if (d17.digits % 10'000 >= 5'000) ++digits13;
  if (digits13 == kTen13) {
    digits13 = kTen13 / 10;
    ++exponent;
  }
  return FormatDigits13(negative, digits13, exponent);
}

// Zeros, infinities and NaN; returns false for every other value.
bool FormatSpecial(double value, Text& out) {
  if (value == 0.0) {
    out = "0";
  } else if (std::isinf(value)) {
    out = value < 0 ? "-1.#INF" : "1.#INF";
  } else if (std::isnan(value)) {
    out = std::signbit(value) ? "-1.#QNAN" : "1.#QNAN";
  } else {
    return false;
  }
  return true;
}

}  // namespace

double TextToNumber(std::string_view text, Encoding encoding) {
  return DecimalToDouble(ScanNumber(text, encoding));
}

Text NumberToText(std::int32_t value) {
  std::array<char, 12> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return Text(buffer.data(), end);
}

Text NumberToText(double value) {
  Text out;
  if (FormatSpecial(value, out)) return out;
  const bool negative = value < 0;
  const double magnitude = negative ? -value : value;
  // Whole numbers below 10^13 are written as they are: no rounding can occur.
  if (magnitude < 1e13 && magnitude == std::floor(magnitude)) {
    std::array<char, 16> buffer{};
    char* begin = buffer.data();
    if (negative) *begin++ = '-';
    auto [end, ec] =
        std::to_chars(begin, buffer.data() + buffer.size(), static_cast<std::uint64_t>(magnitude));
    return Text(buffer.data(), end);
  }
  std::uint64_t mantissa = 0;
  int e2 = 0;
  Decompose(magnitude, mantissa, e2);
  Digits17 d17{};
  if (!FastDigits17(mantissa, e2, d17)) d17 = ExactDigits17(mantissa, e2);
  return FormatFromDigits17(negative, d17);
}

std::int64_t TruncateToInteger(double value) {
  // 2^63 is exact in a double; -2^63 itself is in range.
  constexpr double kTwo63 = 9223372036854775808.0;
  if (!(value < kTwo63 && value >= -kTwo63)) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);  // conversion truncates in any rounding mode
}

namespace detail {

Text NumberToTextExact(double value) {
  Text out;
  if (FormatSpecial(value, out)) return out;
  const bool negative = value < 0;
  std::uint64_t mantissa = 0;
  int e2 = 0;
  Decompose(negative ? -value : value, mantissa, e2);
  return FormatFromDigits17(negative, ExactDigits17(mantissa, e2));
}

}  // namespace detail

}  // namespace cmdgen
