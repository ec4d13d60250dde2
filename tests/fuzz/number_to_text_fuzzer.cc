// Fuzzes NumberToText. For the double made from the input bytes the fast
// paths must give exactly the text of the exact big-number expansion, the
// text must have the documented shape and must read back within 13 digits;
// the integer form must match std::to_string.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "generation/number.h"
#include "tests/fuzz/fuzz_check.h"

namespace cmdgen {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Checks the shape of a finite non-zero value's text: an optional "-" that
// matches the sign, at most 13 significant digits, no trailing zero or bare
// point, and the exponent form (with at least three exponent digits) exactly
// when the decimal exponent is below -4 or at least 13. The text must also
// read back within 13 digits.
void CheckShape(double value, std::string_view text) {
  auto fail = [&](const char* why) {
    char hex[40];
    std::snprintf(hex, sizeof hex, "%a", value);
    fuzz::Fail(std::string("NumberToText(") + hex + ") = " + fuzz::Quote(text) + ": " + why);
  };
  std::string_view rest = text;
  const bool negative = !rest.empty() && rest.front() == '-';
  if (negative) rest.remove_prefix(1);
  if (negative != std::signbit(value)) fail("the sign is wrong");

  const std::size_t e = rest.find('e');
  const std::string_view mantissa = rest.substr(0, e);
  const std::size_t point = mantissa.find('.');
  const std::string_view whole = mantissa.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
  if (whole.empty() || !AllDigits(whole) || !AllDigits(fraction)) fail("not a decimal number");
  if (point != std::string_view::npos && (fraction.empty() || fraction.back() == '0')) {
    fail("a bare point or a trailing zero after it");
  }

  std::size_t significant = 0;
  if (e != std::string_view::npos) {
    if (whole.size() != 1 || whole[0] == '0') fail("the exponent form needs one leading digit");
    const std::string_view power = rest.substr(e + 1);
    const std::string_view magnitude = power.empty() ? power : power.substr(1);
    if (power.empty() || (power[0] != '+' && power[0] != '-') || !AllDigits(magnitude) ||
        magnitude.size() < 3 || (magnitude.size() > 3 && magnitude[0] == '0')) {
      fail("the exponent is not a sign and at least three digits");
    }
    const int exponent = (power[0] == '-' ? -1 : 1) * std::stoi(std::string(magnitude));
    if (exponent >= -4 && exponent < 13) fail("the exponent form for an exponent of -4 to 12");
    significant = 1 + fraction.size();
  } else if (whole == "0") {
    const std::size_t zeros = fraction.find_first_not_of('0');
    if (zeros == std::string_view::npos || zeros > 3) fail("the positional form below 1e-4");
    significant = fraction.size() - zeros;
  } else {
    if (whole[0] == '0') fail("a leading zero");
    if (whole.size() > 13) fail("the positional form for an exponent of 13 or more");
    significant = whole.size() + fraction.size();
  }
  if (significant > 13) fail("more than 13 significant digits");

  const double back = TextToNumber(text);
  if (!(std::abs(back - value) <= std::abs(value) * 1e-12)) fail("does not read back");
}

// Builds a double from the input: raw bits, or one of the kinds of value that
// steps produce and the fast paths handle, so that those are hit often.
double ValueFrom(const std::uint8_t* data, std::size_t size) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, data + 1, std::min<std::size_t>(size - 1, sizeof bits));
  const auto whole = static_cast<double>(static_cast<std::int64_t>(bits % 40'000'000'000'000) -
                                         20'000'000'000'000);
  static constexpr std::array<double, 10> kEdges = {
      1e-5,         1e-4, 1e13, 9999999999999.5,        2147483647.0, 2147483648.0,
      4294967296.0, 1e15, 0.5,  0x1.fffffffffffffp+1023};
  switch (data[0] % 6) {
    case 0:
      return std::bit_cast<double>(bits);
    case 1:
      return whole;
    case 2:
      return whole / 4.0;
    case 3:
      return whole * 1e-9;
    case 4: {
      double value = kEdges[(bits & 0xFF) % kEdges.size()];
      for (std::uint64_t step = (bits >> 8) % 8; step > 0; --step) {
        value = std::nextafter(value, (bits >> 16) & 1 ? kInf : -kInf);
      }
      return (bits >> 17) & 1 ? -value : value;
    }
    default:
      return std::ldexp(static_cast<double>(bits >> 11),
                        static_cast<int>((bits & 0x7F) % 121) - 60);
  }
}

}  // namespace
}  // namespace cmdgen

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace cmdgen;
  if (size == 0) return 0;
  const double value = ValueFrom(data, size);

  std::int32_t integer = 0;
  std::memcpy(&integer, data + 1, std::min<std::size_t>(size - 1, sizeof integer));
  if (NumberToText(integer) != std::to_string(integer)) {
    fuzz::Fail("NumberToText(" + std::to_string(integer) + ") = " + NumberToText(integer));
  }

  // The engine never sees NaN: no input text reads as one.
  if (std::isnan(value)) return 0;
  const Text fast = NumberToText(value);
  const Text exact = detail::NumberToTextExact(value);
  if (fast != exact) {
    char hex[40];
    std::snprintf(hex, sizeof hex, "%a", value);
    fuzz::Fail(std::string("NumberToText(") + hex + ") = " + fast + ", exact expansion " + exact);
  }
  if (value == 0) {
    if (fast != "0") fuzz::Fail("a zero is written " + fuzz::Quote(fast));
  } else if (std::isinf(value)) {
    if (fast != (value < 0 ? "-1.#INF" : "1.#INF")) fuzz::Fail("an infinity is written " + fast);
  } else {
    CheckShape(value, fast);
  }
  return 0;
}
