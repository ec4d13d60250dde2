#include "generation/text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace cmdgen {
namespace {

struct SplitCase {
  std::string text;
  Encoding encoding;
  std::vector<std::string> members;
};

TEST(SplitText, CutsAtCommasThatBeginACharacter) {
  const std::vector<SplitCase> cases = {
      {"", Encoding::kUtf8, {}},
      {"1124", Encoding::kUtf8, {"1124"}},
      {"1124,1", Encoding::kUtf8, {"1124", "1"}},
      {"1124,1,", Encoding::kUtf8, {"1124", "1"}},
      {",1", Encoding::kUtf8, {"", "1"}},
      {"1,,2", Encoding::kUtf8, {"1", "", "2"}},
      {",", Encoding::kUtf8, {""}},
      {",,", Encoding::kUtf8, {"", ""}},
      {" 1 , 2", Encoding::kUtf8, {" 1 ", " 2"}},
      {"a\r\n,b", Encoding::kUtf8, {"a\r\n", "b"}},
      // 0xB0 0x2C is one double-byte character: its second byte is no comma.
      {"\xB0,1", Encoding::kDoubleByte, {"\xB0,1"}},
      {"\xB0,1,2", Encoding::kDoubleByte, {"\xB0,1", "2"}},
      // In UTF-8 the same lead byte has no continuation byte and stands alone.
      {"\xB0,1", Encoding::kUtf8, {"\xB0", "1"}},
      // A CJK character before a comma never hides it.
      {"\xE4\xB8\xAD,1", Encoding::kUtf8, {"\xE4\xB8\xAD", "1"}},
      {"\xD6\xD0,1", Encoding::kDoubleByte, {"\xD6\xD0", "1"}},
      // A lone lead byte at the end is a character of its own.
      {"1,\xB0", Encoding::kDoubleByte, {"1", "\xB0"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.text, ",", c.encoding), c.members) << testing::PrintToString(c.text);
  }
}

TEST(SplitText, EmptyDelimiterKeepsTheWholeText) {
  EXPECT_EQ(SplitText("a,b", ""), (TextArray{"a,b"}));
  EXPECT_EQ(SplitText("a--b--", "--"), (TextArray{"a", "b"}));
}

struct FindCase {
  std::string text;
  std::string sought;
  std::optional<std::int32_t> start;
  bool ignore_case;
  Encoding encoding;
  std::int32_t position;
};

TEST(FindText, FindsAtCharacterStartsFromTheStartPosition) {
  const auto u = Encoding::kUtf8;
  const auto d = Encoding::kDoubleByte;
  std::vector<FindCase> cases = {
      {"vlan {1}", "{1}", std::nullopt, false, u, 6},
      {"{12}", "{1}", std::nullopt, false, u, -1},
      {"{1", "{1}", std::nullopt, false, u, -1},
      {"", "{1}", std::nullopt, false, u, -1},
      {"ABC", "abc", std::nullopt, false, u, -1},
      {"ABC", "abc", std::nullopt, true, u, 1},
      {"x[A", "{a", std::nullopt, true, u, -1},  // only letters fold
      {"\x81{1}", "{1}", std::nullopt, false, d, -1},
      {"\x81{{1}", "{1}", std::nullopt, false, d, 3},
      {"\x81{1}", "{1}", std::nullopt, false, u, 2},
      {"\xE4\xB8\xAD{1}", "{1}", std::nullopt, false, u, 4},
      {"\xD6\xD0{1}", "{1}", std::nullopt, false, d, 3},
      {"abc", "", std::nullopt, false, u, -1},
  };
  for (std::int32_t start : {-5, 0, 1, 2}) cases.push_back({"a{1}b{1}", "{1}", start, false, u, 2});
  cases.push_back({"a{1}b{1}", "{1}", std::nullopt, false, u, 2});
  for (std::int32_t start : {3, 4, 5, 6}) cases.push_back({"a{1}b{1}", "{1}", start, false, u, 6});
  for (std::int32_t start : {7, 8, 9, 100}) {
    cases.push_back({"a{1}b{1}", "{1}", start, false, u, -1});
  }
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignore_case, c.encoding), c.position)
        << testing::PrintToString(c.text) << " start " << c.start.value_or(-999);
  }
}

TEST(FindText, StartPositionIsTakenAsACharacterStart) {
  // Starting on the second byte of a double-byte character reads it afresh.
  EXPECT_EQ(FindText("\x81{1}", "{1}", 2, false, Encoding::kDoubleByte), 2);
}

struct ReplaceCase {
  std::string text;
  std::int32_t position;
  std::int32_t length;
  std::string replacement;
  std::string result;
};

TEST(ReplaceText, BringsPositionAndLengthInsideTheText) {
  const std::vector<ReplaceCase> cases = {
      {"vlan {1}", 6, 3, "1124", "vlan 1124"},
      {"abc", 1, 1, "x", "xbc"},
      {"abc", 0, 1, "x", "xbc"},
      {"abc", -3, 1, "x", "xbc"},
      {"abc", 4, 2, "x", "abcx"},
      {"abc", 10, 2, "x", "abcx"},
      {"abcdef", 5, 10, "x", "abcdx"},
      {"abc", 2, 0, "x", "axbc"},
      {"abc", 2, -1, "x", "axbc"},
      {"abc", 2, 1, "", "ac"},
      {"", 5, 3, "x", "x"},
      {"abc", 1, 3, "", ""},
      {"abc", INT32_MIN, INT32_MAX, "", ""},
      {"abc", INT32_MAX, INT32_MAX, "x", "abcx"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.position, c.length, c.replacement), c.result)
        << c.text << " " << c.position << " " << c.length;
  }
}

TEST(JoinTexts, ConcatenatesInOrder) {
  EXPECT_EQ(JoinTexts({"{", "12", "}"}), "{12}");
  EXPECT_EQ(JoinTexts({"{", "", "}"}), "{}");
  EXPECT_EQ(JoinTexts({"", ""}), "");
}

}  // namespace
}  // namespace cmdgen
