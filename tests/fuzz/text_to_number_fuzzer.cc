// Fuzzes TextToNumber in both encodings. Every result must be a number (never
// NaN) and must read back from NumberToText's text within 13 digits. On the
// ASCII projection of the input the result must equal the C library's strtod,
// and widening any of its characters to the full-width forms of code page 936
// or of UTF-8 must not change it.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>  // strtod: the correctly rounded reference
#include <string>
#include <string_view>

#include "generation/number.h"
#include "tests/fuzz/fuzz_check.h"

namespace cmdgen {
namespace {

void CheckReadsBack(double value, std::string_view input) {
  if (!std::isfinite(value)) return;
  const Text text = NumberToText(value);
  const double back = TextToNumber(text);
  // 13 significant digits, rounded twice, stay within 5.00005e-13 of the value.
  if (!(std::abs(back - value) <= std::abs(value) * 1e-12)) {
    fuzz::Fail("NumberToText(TextToNumber(" + fuzz::Quote(input) + ")) = " + text +
               " does not read back");
  }
}

void CheckSame(double expected, double actual, std::string_view what, std::string_view input) {
  if (std::bit_cast<std::uint64_t>(expected) != std::bit_cast<std::uint64_t>(actual)) {
    fuzz::Fail(std::string(what) + " of " + fuzz::Quote(input) + " gives " + NumberToText(actual) +
               ", expected " + NumberToText(expected));
  }
}

// strtod reads the same pattern as TextToNumber once d and D are exponent
// letters too, and once the letters that begin its extra forms (hexadecimal,
// infinity, NaN) are cut away: TextToNumber stops at them anyway.
double Reference(std::string_view ascii) {
  std::string text;
  for (const char c : ascii) {
    if (c == 'x' || c == 'X' || c == 'i' || c == 'I' || c == 'n' || c == 'N') break;
    text.push_back(c == 'd' || c == 'D' ? 'e' : c);
  }
  return std::strtod(text.c_str(), nullptr);
}

// The full-width form of a printable ASCII character, or the character itself.
void AppendWide(std::string& out, char c, Encoding encoding) {
  const auto byte = static_cast<unsigned char>(c);
  if (encoding == Encoding::kDoubleByte) {
    if (byte == 0x20) {
      out += "\xA1\xA1";
    } else if (byte >= 0x21 && byte <= 0x7E) {
      out.push_back('\xA3');
      out.push_back(static_cast<char>(byte + 0x80));
    } else {
      out.push_back(c);
    }
    return;
  }
  if (byte == 0x20) {
    out += "\xE3\x80\x80";  // U+3000
  } else if (byte >= 0x21 && byte <= 0x7E) {
    const unsigned code = 0xFF01u + (byte - 0x21u);  // U+FF01..U+FF5E
    out.push_back(static_cast<char>(0xE0u | (code >> 12)));
    out.push_back(static_cast<char>(0x80u | ((code >> 6) & 0x3Fu)));
    out.push_back(static_cast<char>(0x80u | (code & 0x3Fu)));
  } else {
    out.push_back(c);
  }
}

}  // namespace
}  // namespace cmdgen

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace cmdgen;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (const Encoding encoding : {Encoding::kUtf8, Encoding::kDoubleByte}) {
    const double value = TextToNumber(input, encoding);
    if (std::isnan(value)) fuzz::Fail("TextToNumber(" + fuzz::Quote(input) + ") is NaN");
    CheckReadsBack(value, input);
  }

  // The input with every high bit cleared; each cleared bit marks the
  // character for widening below.
  std::string ascii(input);
  for (char& c : ascii) c = static_cast<char>(c & 0x7F);
  const double value = TextToNumber(ascii);
  // The exponent is clamped at 5200, which agrees with strtod only while the
  // mantissa is shorter than a few thousand digits.
  if (ascii.size() < 4096) CheckSame(Reference(ascii), value, "TextToNumber against strtod", ascii);
  for (const Encoding encoding : {Encoding::kUtf8, Encoding::kDoubleByte}) {
    std::string wide;
    for (std::size_t i = 0; i < size; ++i) {
      if (data[i] & 0x80) {
        AppendWide(wide, ascii[i], encoding);
      } else {
        wide.push_back(ascii[i]);
      }
    }
    CheckSame(value, TextToNumber(wide, encoding),
              encoding == Encoding::kUtf8 ? "TextToNumber of UTF-8 full-width forms"
                                          : "TextToNumber of code page 936 full-width forms",
              wide);
  }
  return 0;
}
