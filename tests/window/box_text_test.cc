// Reading a document's raw text back as the commands' content: the one-pass
// conversion against the one through QString::toUtf8, on a table and on
// seeded random text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "window/qt/box_text.h"

namespace cmdgen {
namespace {

using detail::RawTextToContent;
using detail::RawTextToContentSlow;

QString FromUnits(const std::u16string& units) {
  return QString(reinterpret_cast<const QChar*>(units.data()),
                 static_cast<qsizetype>(units.size()));
}

TEST(BoxTextTest, RawTextBecomesUtf8WithCrLf) {
  struct Case {
    std::u16string raw;
    std::string_view content;
  } cases[] = {
      {u"", ""},
      {u"vlan 1124\u2029quit\u2029", "vlan 1124\r\nquit\r\n"},
      {u"\u2029\u2029", "\r\n\r\n"},
      {u"\u007F\u0080\u07FF\u0800\uFFFF", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
      {u"中文，\u00A0\t\u2028", "中文，\xC2\xA0\t\xE2\x80\xA8"},
      {u"😀\U0010FFFF\U00010000", "😀\xF4\x8F\xBF\xBF\xF0\x90\x80\x80"},
  };
  for (const Case& c : cases) {
    const QString raw = FromUnits(c.raw);
    EXPECT_EQ(RawTextToContent(raw), std::optional<Text>(c.content)) << c.content;
    EXPECT_EQ(RawTextToContentSlow(raw), c.content) << c.content;
  }
}

TEST(BoxTextTest, LoneSurrogatesAreLeftToTheSlowPath) {
  for (const std::u16string& raw :
       {std::u16string(u"a\xD800"), std::u16string(u"\xDC00 b"),
        std::u16string(u"\xD83D\xD83D\xDE00"), std::u16string(u"x\xD800\u2029")}) {
    EXPECT_EQ(RawTextToContent(FromUnits(raw)), std::nullopt);
    EXPECT_FALSE(RawTextToContentSlow(FromUnits(raw)).empty());
  }
}

TEST(BoxTextTest, BothPathsAgreeOnRandomText) {
  // Units near every boundary of the encoding, separators and surrogates.
  const char16_t palette[] = {u'a',   u'\r',  u'{',   0x7F,   0x80,   0x7FF,
                              0x800,  0x2028, 0x2029, 0x4E2D, 0xD7FF, 0xE000,
                              0xFFFD, 0xFFFF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF};
  std::mt19937 random(20261211);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(palette) - 1);
  std::uniform_int_distribution<int> length(0, 40);
  int fast = 0;
  for (int round = 0; round < 5000; ++round) {
    std::u16string raw;
    for (int i = length(random); i > 0; --i) raw += palette[pick(random)];
    // Mostly well-formed: drop the surrogates from two texts in three.
    if (round % 3 != 0) std::erase_if(raw, [](char16_t u) { return u >= 0xD800 && u < 0xE000; });
    const QString text = FromUnits(raw);
    const std::optional<Text> content = RawTextToContent(text);
    EXPECT_EQ(content.has_value(), QStringView(text).isValidUtf16()) << round;
    if (content) {
      ++fast;
      EXPECT_EQ(*content, RawTextToContentSlow(text)) << round;
    }
  }
  EXPECT_GT(fast, 3000);
}

}  // namespace
}  // namespace cmdgen
