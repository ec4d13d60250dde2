#include "generation/number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace cmdgen {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Compares bit patterns, so that -0.0 and +0.0 differ.
::testing::AssertionResult SameDouble(double expected, double actual) {
  if (std::bit_cast<std::uint64_t>(expected) == std::bit_cast<std::uint64_t>(actual)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "expected " << std::hexfloat << expected << ", got " << actual;
}

struct ReadCase {
  std::string text;
  double value;
};

void ExpectReads(const std::vector<ReadCase>& cases, Encoding encoding) {
  for (const auto& c : cases) {
    EXPECT_TRUE(SameDouble(c.value, TextToNumber(c.text, encoding)))
        << "text " << testing::PrintToString(c.text);
  }
}

TEST(TextToNumber, ReadsTheLeadingNumberInAnyEncoding) {
  const std::vector<ReadCase> cases = {
      {"1124", 1124},
      {"  12abc", 12},
      {"1.5e2", 150},
      {"1.5E2", 150},
      {"1.5d2", 150},
      {"1.5D+2", 150},
      {"150.", 150},
      {"2E-3", 0x1.0624dd2f1a9fcp-9},
      {"5e-1", 0.5},
      {"1e0005", 100000},
      {"007", 7},
      {"+7", 7},
      {"-.5", -0.5},
      {"5.", 5},
      {".5", 0.5},
      {"", 0.0},
      {"abc", 0.0},
      {"-", 0.0},
      {"+", 0.0},
      {".", 0.0},
      {"-.", 0.0},
      {".e5", 0.0},
      {"- 5", 0.0},
      {"--5", 0.0},
      {"+-5", 0.0},
      {"1,124", 1},
      {"1 000", 1},
      {"12.5.6", 12.5},
      {"12-3", 12},
      {"0+5", 0},
      {"0x1A", 0},
      {"1e", 1},
      {"1e+", 1},
      {"1e+x", 1},
      {"1e 5", 1},
      {"1e-", 1},
      {"\t\n\v\f\r 9", 9},
      {"\x01"
       "9",
       0.0},  // not white space
      {"inf", 0.0},
      {"nan", 0.0},
      {"1e400", kInf},
      {"1.8e308", kInf},
      {"-1e400", -kInf},
      {"1.7976931348623157e308", 0x1.fffffffffffffp+1023},
      {"4.9e-324", 0x0.0000000000001p-1022},
      {"2.4703282292062328e-324", 0x0.0000000000001p-1022},  // just above half the least
      {"2.4703282292062327e-324", 0.0},                      // just below it
      {"1e-400", 0.0},
      {"-1e-400", -0.0},
      {"-0", -0.0},
      {"-0.000", -0.0},
      {"0e99999", 0.0},
      // Correct rounding, ties to even.
      {"9007199254740993", 0x1p+53},
      {"9007199254740995", 0x1.0000000000002p+53},
      {"18014398509481987", 0x1.0000000000001p+54},
      {"0.1", 0x1.999999999999ap-4},
      {"1124.0000000005", 0x1.1900000000897p+10},
      // The exponent clamp: past 5200 the exponent counts as 5201.
      {"1e5200", kInf},
      {"1e-5200", 0.0},
      {"1e-5201", 0.0},
      {"1e99999999999999999999", kInf},
      {"-1e-99999999999999999999", -0.0},
      {"1" + std::string(5600, '0') + "e-5201", kInf},
      {"0." + std::string(5250, '0') + "1e5201", 0x1.dee7a4ad4b81fp-167},  // 1e-50
  };
  ExpectReads(cases, Encoding::kUtf8);
  ExpectReads(cases, Encoding::kDoubleByte);
}

TEST(TextToNumber, NarrowsFullWidthFormsOfCodePage936) {
  ExpectReads(
      {
          {"\xA3\xB1\xA3\xB2\xA3\xB3", 123},
          {"\xA1\xA1"
           "45",
           45},
          {"\xA3\xAD\xA3\xB8", -8},
          {"\xA3\xB1\xA3\xAE\xA3\xB5\xA3\xE5\xA3\xB2", 150},
          {"\xA3\xB1\xA3\xC4\xA3\xB2", 100},  // full-width D
          {"\xD6\xD0"
           "12",
           0.0},
          {"1\xA3\x32", 1},
          {"12\xA3", 12},
          {"1\xA3\xAC"
           "5",
           1},  // full-width comma ends the number like ","
          {"\xA3", 0.0},
      },
      Encoding::kDoubleByte);
}

TEST(TextToNumber, NarrowsFullWidthFormsOfUtf8) {
  ExpectReads(
      {
          {"\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x93", 123},  // １２３
          {"\xE3\x80\x80"
           "45",
           45},                              // ideographic space
          {"\xEF\xBC\x8D\xEF\xBC\x98", -8},  // －８
          {"\xEF\xBC\x91\xEF\xBC\x8E\xEF\xBC\x95\xEF\xBD\x85\xEF\xBC\x92", 150},  // １．５ｅ２
          {"\xEF\xBC\x8B"
           "7",
           7},  // ＋7
          {"\xE4\xB8\xAD"
           "12",
           0.0},  // 中12
          {"12\xE4\xB8\xAD"
           "3",
           12},
          {"\xC2\xA0"
           "5",
           0.0},  // a no-break space is no white space
      },
      Encoding::kUtf8);
}

struct WriteCase {
  double value;
  std::string text;
};

TEST(NumberToText, WritesThirteenDigitsAfterRoundingTwice) {
  const std::vector<WriteCase> cases = {
      {1125, "1125"},
      {1.5, "1.5"},
      {-2.5, "-2.5"},
      {-1124.75, "-1124.75"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.3333333333333"},
      {2.0 / 3, "0.6666666666667"},
      {0.0, "0"},
      {-0.0, "0"},
      {0.0001, "0.0001"},
      {0.00001, "1e-005"},
      {0.000012345, "1.2345e-005"},
      {123456789012.5, "123456789012.5"},
      {1234567890123, "1234567890123"},
      {9999999999999, "9999999999999"},
      {-9999999999999, "-9999999999999"},
      {10000000000000, "1e+013"},
      {12345678901234, "1.234567890123e+013"},
      {9999999999999.5, "1e+013"},
      {99.99999999999999, "100"},
      {4294967296, "4294967296"},
      {1e15, "1e+015"},
      {1e20, "1e+020"},
      {1234567890122.5, "1234567890123"},
      {0x1.1900000000897p+10, "1124.000000001"},  // 1124.000000000499994712...
      {0x1.fffffffffffffp+1023, "1.797693134862e+308"},
      {0x0.0000000000001p-1022, "4.940656458412e-324"},
      {kInf, "1.#INF"},
      {-kInf, "-1.#INF"},
      {0.5, "0.5"},
      {-0.00012, "-0.00012"},
      {1e100, "1e+100"},
      {1e-100, "1e-100"},
      {2147483647.5, "2147483647.5"},
      {-2147483648.0, "-2147483648"},
      {0x1p-25, "2.98023223877e-008"},  // an exact half at the 18th digit
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberToText(c.value), c.text) << std::hexfloat << c.value;
    EXPECT_EQ(detail::NumberToTextExact(c.value), c.text) << std::hexfloat << c.value;
  }
}

TEST(NumberToText, WritesIntegersInDecimal) {
  EXPECT_EQ(NumberToText(1), "1");
  EXPECT_EQ(NumberToText(12), "12");
  EXPECT_EQ(NumberToText(0), "0");
  EXPECT_EQ(NumberToText(-5), "-5");
  EXPECT_EQ(NumberToText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

// Doubles that the fast paths see most often or that lie at their edges: whole
// numbers, halves and quarters, values near 10^-5, 10^13 and the 32-bit limits,
// and raw bit patterns of every exponent.
double RandomValue(std::mt19937_64& random) {
  std::uniform_int_distribution<int> kind(0, 7);
  std::uniform_int_distribution<std::int64_t> whole(-20'000'000'000'000, 20'000'000'000'000);
  const double edges[] = {1e-5,   1e13, 2147483647.0, 2147483648.0, 4294967296.0, 9999999999999.5,
                          0.0001, 1e15};
  switch (kind(random)) {
    case 0:
      return static_cast<double>(whole(random));
    case 1:
      return static_cast<double>(whole(random)) / 4.0;
    case 2:
      return static_cast<double>(whole(random)) * 1e-9;
    case 3: {
      const double edge = edges[random() % std::size(edges)];
      return std::nextafter(edge, (random() & 1) ? kInf : -kInf) * ((random() & 1) ? 1 : -1);
    }
    case 4:
      return static_cast<double>(random() % 100000) + 0.5;
    case 5:
      return std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 120) - 60);
    default: {
      double value = 0;
      do {
        value = std::bit_cast<double>(random());
      } while (!std::isfinite(value));
      return value;
    }
  }
}

TEST(NumberToText, FastPathAgreesWithTheExactExpansion) {
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 200000; ++i) {
    const double value = RandomValue(random);
    ASSERT_EQ(NumberToText(value), detail::NumberToTextExact(value)) << std::hexfloat << value;
  }
}

TEST(NumberToText, ReadsBackWithinThirteenDigits) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    const double value = RandomValue(random);
    const double back = TextToNumber(NumberToText(value));
    EXPECT_LE(std::abs(back - value), std::abs(value) * 1e-12) << std::hexfloat << value;
  }
}

struct TruncateCase {
  double value;
  std::int64_t result;
  std::int32_t low32;
};

TEST(TruncateToInteger, RoundsTowardZeroAndKeepsLow32Bits) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  const std::vector<TruncateCase> cases = {
      {1146.0, 1146, 1146},
      {2.9, 2, 2},
      {-2.9, -2, -2},
      {-0.5, 0, 0},
      {-0.0, 0, 0},
      {2147483647.9, 2147483647, 2147483647},
      {2147483648.0, 2147483648, -2147483647 - 1},
      {-2147483649.0, -2147483649, 2147483647},
      {3000000000.0, 3000000000, -1294967296},
      {4294967297.5, 4294967297, 1},
      {-0x1p63, kMin, 0},
      {0x1p63, kMin, 0},
      {0x1.fffffffffffffp62, 0x7ffffffffffffc00, -1024},
      {1e19, kMin, 0},
      {-1e19, kMin, 0},
      {1e300, kMin, 0},
      {kInf, kMin, 0},
      {-kInf, kMin, 0},
      {std::numeric_limits<double>::quiet_NaN(), kMin, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TruncateToInteger(c.value), c.result) << std::hexfloat << c.value;
    EXPECT_EQ(LowBits32(TruncateToInteger(c.value)), c.low32) << std::hexfloat << c.value;
  }
}

}  // namespace
}  // namespace cmdgen
