// Reading the command line of cmdgen-cli into the inputs of one run.
#ifndef CMDGEN_CLI_COMMAND_LINE_H_
#define CMDGEN_CLI_COMMAND_LINE_H_

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "generation/text.h"

namespace cmdgen::cli {

/// What the command line asks the tool to do.
enum class Action {
  kGenerate,
  kShowHelp,
  kShowVersion,
};

/// The inputs of one run, as given on the command line. After a successful
/// parse for kGenerate exactly one of `template_text` and `template_file` is
/// set, and `start_list` and `end_number` are set (possibly empty).
struct CommandLine {
  Action action = Action::kGenerate;
  std::optional<std::string> template_text;
  /// A path, or "-" for standard input.
  std::optional<std::string> template_file;
  std::optional<std::string> start_list;
  std::optional<std::string> end_number;
  Encoding encoding = Encoding::kUtf8;
  /// A path; absent or "-" means standard output.
  std::optional<std::string> output_file;
  /// Written after every block.
  std::string_view line_end = "\r\n";
};

/// The parsed command line, or the one-line reason why it cannot be used.
struct ParseResult {
  CommandLine command_line;
  /// Empty when the command line is usable.
  std::string error;
};

/// Parses the arguments that follow the program name. The argument after an
/// option that takes a value is always that value, whatever it looks like;
/// "--name=value" and "-xvalue" give the value in the same argument. A later
/// repetition of an option replaces the earlier value. --help and --version
/// end the parse at once.
/// ParseCommandLine({"-t", "vlan {1}", "-s", "-2.5", "-e", "1"}).command_line.start_list -> "-2.5"
ParseResult ParseCommandLine(std::span<const std::string_view> arguments);

/// The encoding that an --encoding value names ("utf-8", "utf8", "cp936",
/// "gbk", in any letter case), or nothing for any other name.
/// EncodingFromName("GBK") -> Encoding::kDoubleByte
std::optional<Encoding> EncodingFromName(std::string_view name);

}  // namespace cmdgen::cli

#endif  // CMDGEN_CLI_COMMAND_LINE_H_
