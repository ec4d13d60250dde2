#include "cli/command_line.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace cmdgen::cli {
namespace {

ParseResult Parse(const std::vector<std::string_view>& arguments) {
  return ParseCommandLine(arguments);
}

TEST(ParseCommandLineTest, TakesEveryValueExactlyAsGiven) {
  const struct {
    std::vector<std::string_view> arguments;
    std::string_view start;
    std::string_view end;
  } cases[] = {
      {{"-t", "x", "-s", "-2.5", "-e", "1"}, "-2.5", "1"},
      {{"-t", "x", "--start", "", "--end", ""}, "", ""},
      {{"-t", "x", "--start=", "--end="}, "", ""},
      {{"-t", "x", "-s", " 1 , 2 ", "-e", "\t3"}, " 1 , 2 ", "\t3"},
      {{"-t", "x", "-s", "\xEF\xBC\x91\xEF\xBC\x92", "-e", "\xA3\xB1"},
       "\xEF\xBC\x91\xEF\xBC\x92",
       "\xA3\xB1"},
      {{"-t", "x", "-s", "--help", "-e", "--version"}, "--help", "--version"},
      {{"-t", "x", "-s", "-", "-e", "--"}, "-", "--"},
      {{"-t", "x", "--start=a=b", "--end==1"}, "a=b", "=1"},
      {{"-t", "x", "-s-2.5", "-e-1"}, "-2.5", "-1"},
      {{"-t", "x", "-s", "1", "-s", "2", "-e", "3", "--end", "4"}, "2", "4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    const ParseResult parsed = Parse(c.arguments);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.command_line.action, Action::kGenerate);
    EXPECT_EQ(parsed.command_line.start_list, c.start);
    EXPECT_EQ(parsed.command_line.end_number, c.end);
  }
}

TEST(ParseCommandLineTest, ReadsEveryOption) {
  const ParseResult parsed = Parse(
      {"--template-file", "-", "--encoding=GBK", "-o", "out.txt", "--lf", "-s", "1", "-e", "2"});
  ASSERT_EQ(parsed.error, "");
  const CommandLine& line = parsed.command_line;
  EXPECT_EQ(line.template_text, std::nullopt);
  EXPECT_EQ(line.template_file, "-");
  EXPECT_EQ(line.encoding, Encoding::kDoubleByte);
  EXPECT_EQ(line.output_file, "out.txt");
  EXPECT_EQ(line.line_end, "\n");

  const ParseResult defaults = Parse({"-t", "vlan {1}\r\n", "-s", "1", "-e", "2"});
  ASSERT_EQ(defaults.error, "");
  EXPECT_EQ(defaults.command_line.template_text, "vlan {1}\r\n");
  EXPECT_EQ(defaults.command_line.encoding, Encoding::kUtf8);
  EXPECT_EQ(defaults.command_line.output_file, std::nullopt);
  EXPECT_EQ(defaults.command_line.line_end, "\r\n");
}

TEST(ParseCommandLineTest, HelpAndVersionEndTheParse) {
  EXPECT_EQ(Parse({"--help", "--bogus"}).command_line.action, Action::kShowHelp);
  EXPECT_EQ(Parse({"-t", "x", "-h"}).command_line.action, Action::kShowHelp);
  EXPECT_EQ(Parse({"--version"}).command_line.action, Action::kShowVersion);
  EXPECT_EQ(Parse({"--version"}).error, "");
  EXPECT_EQ(Parse({"--bogus", "--help"}).error, "unknown option '--bogus'");
}

TEST(EncodingFromNameTest, KnowsTheFourNamesInAnyCase) {
  EXPECT_EQ(EncodingFromName("utf-8"), Encoding::kUtf8);
  EXPECT_EQ(EncodingFromName("UTF8"), Encoding::kUtf8);
  EXPECT_EQ(EncodingFromName("CP936"), Encoding::kDoubleByte);
  EXPECT_EQ(EncodingFromName("gbk"), Encoding::kDoubleByte);
  for (const std::string_view name : {"", "utf-16", "936", "gb2312", "utf-8 "}) {
    EXPECT_EQ(EncodingFromName(name), std::nullopt) << name;
  }
}

}  // namespace
}  // namespace cmdgen::cli
