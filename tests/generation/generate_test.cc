#include "generation/generate.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace cmdgen {
namespace {

using Generator = void (*)(std::string_view, std::string_view, std::string_view, BlockConsumer,
                           Encoding);

std::vector<std::string> Collect(Generator generate, std::string_view tmpl, std::string_view start,
                                 std::string_view end, Encoding encoding = Encoding::kUtf8) {
  std::vector<std::string> blocks;
  generate(
      tmpl, start, end, [&](std::string_view block) { blocks.emplace_back(block); }, encoding);
  return blocks;
}

// Every test runs the prepared procedure and the step-by-step reference.
class GenerateCommandsTest : public ::testing::TestWithParam<Generator> {};

INSTANTIATE_TEST_SUITE_P(BothProcedures, GenerateCommandsTest,
                         ::testing::Values(&GenerateCommands, &detail::GenerateCommandsLiteral),
                         [](const auto& param) {
                           return param.index == 0 ? "Prepared" : "Literal";
                         });

TEST_P(GenerateCommandsTest, InitialContentsGiveTwentyThreeBlocks) {
  const auto blocks =
      Collect(GetParam(), "vlan {1}\r\nport Ethernet0/0/{2}\r\nquit", "1124,1", "1146");
  ASSERT_EQ(blocks.size(), 23u);
  for (int j = 0; j < 23; ++j) {
    EXPECT_EQ(blocks[static_cast<std::size_t>(j)], "vlan " + std::to_string(1124 + j) +
                                                       "\r\nport Ethernet0/0/" +
                                                       std::to_string(1 + j) + "\r\nquit");
  }
}

struct Row {
  std::string tmpl;
  std::string start;
  std::string end;
  std::vector<std::string> blocks;
};

TEST_P(GenerateCommandsTest, EdgeCases) {
  const std::vector<Row> rows = {
      {"vlan {1}", "5", "5", {"vlan 5"}},
      {"vlan {1}", "5", "4", {}},
      {"vlan {1}", "5.7", "7.9", {"vlan 5.7", "vlan 6.7", "vlan 7.7"}},
      {"vlan {1}", "-2.5", "1", {"vlan -2.5", "vlan -1.5", "vlan -0.5", "vlan 0.5"}},
      {"{1}/{2}", "1,0.5", "3", {"1/0.5", "2/1.5", "3/2.5"}},
      {"{1}-{1}", "7", "8", {"7-7", "8-8"}},
      {"{1} {3}", "1,2", "1", {"1 {3}"}},
      {"{0}{01}{ 1}{1}", "4", "4", {"{0}{01}{ 1}4"}},
      {"a{1}", "1,x,,y", "2", {"a1", "a2"}},
      {"{2}", "1,", "1", {"{2}"}},
      {"{2}", "1,,", "1", {"0"}},
      {"{10}", "1,2,3,4,5,6,7,8,9,50", "1", {"50"}},
      {"{1}{10}", "1,2,3,4,5,6,7,8,9", "1", {"1{10}"}},
      {"{{1}}", "2,7", "2", {"7"}},
      {"{{1}}", "2", "2", {"{2}"}},
      {"{{1}}", "1", "1", {"{1}"}},
      {"{{1}{2}}", "1,2,3,4,5,6,7,8,9,10,11,99", "1", {"99"}},
      {"{1{1}}", "1", "1", {"{11}"}},
      {"", "1", "3", {"", "", ""}},
      {"x", "", "3", {}},
      {"x", ",", "3", {"x", "x", "x", "x"}},  // one empty member: first is 0
      {"x", "3", "", {}},
      {"x{1}", "abc", "1", {"x0", "x1"}},
      {"x{1}", "4294967297", "1", {"x4294967297"}},
      {"x", "1", "4294967296", {}},
      {"x", "0", "99999999999999999999", {"x"}},
      {"x{1}", "1124abc", "1124", {"x1124"}},
      {"x{1}", "1.5", "3", {"x1.5", "x2.5", "x3.5"}},
      {"x", "0", "1146.9", std::vector<std::string>(1147, "x")},
      {"{1}", "1e400", "1", {"1.#INF", "1.#INF"}},  // first is 0
      {"{1}{1}{2}", "9,10", "10", {"9910", "101011"}},
      {"{1}{2}", "1,2", "1", {"12"}},  // adjacent placeholders form no new one
      {"<{1}>", "998", "1001", {"<998>", "<999>", "<1000>", "<1001>"}},
      {"{1} {2}", "9,9999999999998", "11", {"9 9999999999998", "10 9999999999999", "11 1e+013"}},
      {"{1}", "-2", "0", {"-2", "-1", "0"}},
      {"{12}{1}2}", "3,4,5,6,7,8,9,10,11,12,13,14", "4", {"1432}", "1542}"}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Collect(GetParam(), row.tmpl, row.start, row.end), row.blocks)
        << row.tmpl << " | " << row.start << " | " << row.end;
  }
}

TEST_P(GenerateCommandsTest, CodePageWalkKeepsHiddenBracesAndCommas) {
  const auto d = Encoding::kDoubleByte;
  // 0x81 0x7B is one character, so "{1}" after 0x81 is no placeholder.
  EXPECT_EQ(Collect(GetParam(), "\x81{1}|{1}", "5", "5", d),
            (std::vector<std::string>{"\x81{1}|5"}));
  // A Chinese character before "{1}" and a full-width start number.
  EXPECT_EQ(Collect(GetParam(), "\xD6\xD0{1}", "\xA3\xB1\xA3\xB2", "13", d),
            (std::vector<std::string>{"\xD6\xD0"
                                      "12",
                                      "\xD6\xD0"
                                      "13"}));
  // 0xB0 0x2C hides the comma: one member, read as 0 (first byte cannot start a number).
  EXPECT_EQ(Collect(GetParam(), "{1}/{2}", "\xB0,1", "0", d), (std::vector<std::string>{"0/{2}"}));
}

TEST_P(GenerateCommandsTest, Utf8WalkNeverHidesBracesOrCommas) {
  EXPECT_EQ(Collect(GetParam(), "\xE4\xB8\xAD{1}", "\xEF\xBC\x91\xEF\xBC\x92", "13"),
            (std::vector<std::string>{"\xE4\xB8\xAD"
                                      "12",
                                      "\xE4\xB8\xAD"
                                      "13"}));
  EXPECT_EQ(Collect(GetParam(), "{1}/{2}", "\xE4\xB8\xAD,1", "0"),
            (std::vector<std::string>{"0/1"}));
}

TEST_P(GenerateCommandsTest, EndsAfterTheStepForTheLargestCounter) {
  const auto blocks = Collect(GetParam(), "{1}", "2147483645", "2147483647");
  EXPECT_EQ(blocks, (std::vector<std::string>{"2147483645", "2147483646", "2147483647"}));
}

TEST(CountSteps, CountsWithoutMakingBlocks) {
  EXPECT_EQ(CountSteps("1124,1", "1146"), 23);
  EXPECT_EQ(CountSteps("", "1146"), 0);
  EXPECT_EQ(CountSteps("5", "4"), 0);
  EXPECT_EQ(CountSteps("2147483645", "2147483647"), 3);
  // The offset, a 32-bit signed integer, cannot count past 2147483647.
  EXPECT_EQ(CountSteps("-2147483648", "2147483647"), 2147483648);
  EXPECT_EQ(CountSteps("-2147483647", "2147483647"), 2147483648);
  EXPECT_EQ(CountSteps("-2147483646", "2147483647"), 2147483648);
  EXPECT_EQ(CountSteps("0", "2147483647"), 2147483648);
  EXPECT_EQ(CountSteps("1", "2147483647"), 2147483647);
}

// Random templates and start lists built from the pieces that make the
// replacement order matter: braces, digits, one- and two-digit placeholders,
// fractions, exponents, signs and multi-byte characters.
std::string RandomTemplate(std::mt19937& random) {
  static const std::vector<std::string> pieces = {"{1}",
                                                  "{2}",
                                                  "{3}",
                                                  "{10}",
                                                  "{12}",
                                                  "{",
                                                  "}",
                                                  "1",
                                                  "2",
                                                  "0",
                                                  "{0}",
                                                  "{01}",
                                                  "x",
                                                  " ",
                                                  "\r\n",
                                                  "\xD6\xD0",
                                                  "\xE4\xB8\xAD",
                                                  "\x81",
                                                  "{{1}}",
                                                  "{1{",
                                                  "}2}",
                                                  "-",
                                                  "."};
  std::string text;
  const auto count = random() % 8;
  for (unsigned i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
  return text;
}

std::string RandomStartList(std::mt19937& random) {
  static const std::vector<std::string> members = {"1",
                                                   "2",
                                                   "12",
                                                   "0",
                                                   "-3",
                                                   "1.5",
                                                   "2e1",
                                                   "0.00001",
                                                   "9999999999999",
                                                   "-0",
                                                   "",
                                                   "abc",
                                                   "1e13",
                                                   "2147483647",
                                                   "4294967297",
                                                   "\xA3\xB1",
                                                   "\xEF\xBC\x91",
                                                   "1,2"};
  std::string list;
  const auto count = 1 + random() % 12;
  for (unsigned i = 0; i < count; ++i) {
    if (i > 0) list += ",";
    list += members[random() % members.size()];
  }
  return list;
}

TEST(GenerateCommandsDifferential, PreparedMatchesLiteralOnRandomInput) {
  std::mt19937 random(4242);
  for (int i = 0; i < 20000; ++i) {
    const std::string tmpl = RandomTemplate(random);
    const std::string start = RandomStartList(random);
    const std::string end = std::to_string(static_cast<int>(random() % 14) - 1);
    const auto encoding = (random() & 1) ? Encoding::kUtf8 : Encoding::kDoubleByte;
    ASSERT_EQ(Collect(&GenerateCommands, tmpl, start, end, encoding),
              Collect(&detail::GenerateCommandsLiteral, tmpl, start, end, encoding))
        << testing::PrintToString(tmpl) << " | " << testing::PrintToString(start) << " | " << end;
  }
}

}  // namespace
}  // namespace cmdgen
