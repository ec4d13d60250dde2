#include "cli/command_line.h"

#include <algorithm>
#include <array>

namespace cmdgen::cli {
namespace {

enum class OptionId {
  kTemplate,
  kTemplateFile,
  kStart,
  kEnd,
  kEncoding,
  kOutput,
  kLf,
  kHelp,
  kVersion,
};

struct OptionSpec {
  char short_name;  // '\0' for an option with a long name only
  std::string_view long_name;
  bool takes_value;
  OptionId id;
};

constexpr std::array kOptions{
    OptionSpec{'t', "template", true, OptionId::kTemplate},
    OptionSpec{'f', "template-file", true, OptionId::kTemplateFile},
    OptionSpec{'s', "start", true, OptionId::kStart},
    OptionSpec{'e', "end", true, OptionId::kEnd},
    OptionSpec{'\0', "encoding", true, OptionId::kEncoding},
    OptionSpec{'o', "output", true, OptionId::kOutput},
    OptionSpec{'\0', "lf", false, OptionId::kLf},
    OptionSpec{'h', "help", false, OptionId::kHelp},
    OptionSpec{'\0', "version", false, OptionId::kVersion},
};

const OptionSpec* FindLong(std::string_view name) {
  const auto* found = std::find_if(kOptions.begin(), kOptions.end(),
                                   [&](const OptionSpec& o) { return o.long_name == name; });
  return found == kOptions.end() ? nullptr : found;
}

const OptionSpec* FindShort(char name) {
  const auto* found = std::find_if(kOptions.begin(), kOptions.end(), [&](const OptionSpec& o) {
    return o.short_name != '\0' && o.short_name == name;
  });
  return found == kOptions.end() ? nullptr : found;
}

std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  quoted += text;
  quoted += '\'';
  return quoted;
}

// Checks what only the whole command line can tell; empty when it is usable.
std::string CheckComplete(const CommandLine& line) {
  if (line.template_text && line.template_file) {
    return "give either --template or --template-file, not both";
  }
  if (!line.template_text && !line.template_file) {
    return "no template: give --template TEXT or --template-file FILE";
  }
  if (!line.start_list) return "missing --start LIST";
  if (!line.end_number) return "missing --end NUMBER";
  return {};
}

}  // namespace

std::optional<Encoding> EncodingFromName(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  if (lower == "utf-8" || lower == "utf8") return Encoding::kUtf8;
  if (lower == "cp936" || lower == "gbk") return Encoding::kDoubleByte;
  return std::nullopt;
}

ParseResult ParseCommandLine(std::span<const std::string_view> arguments) {
  ParseResult result;
  CommandLine& line = result.command_line;
  auto fail = [&](std::string message) {
    result.error = std::move(message);
    return result;
  };

  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (options_ended || argument.size() < 2 || argument[0] != '-') {
      return fail("unexpected argument " + Quoted(argument));
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }

    // `spelling` is the option as the user wrote it, for messages.
    const OptionSpec* option = nullptr;
    std::string_view spelling;
    std::optional<std::string_view> attached;
    if (argument[1] == '-') {
      const std::string_view body = argument.substr(2);
      const std::size_t equals = body.find('=');
      spelling =
          argument.substr(0, equals == std::string_view::npos ? argument.size() : equals + 2);
      if (equals != std::string_view::npos) attached = body.substr(equals + 1);
      option = FindLong(body.substr(0, equals));
      if (option != nullptr && !option->takes_value && attached) {
        return fail("option " + Quoted(spelling) + " takes no value");
      }
    } else {
      option = FindShort(argument[1]);
      spelling = argument.substr(0, 2);
      if (argument.size() > 2) {
        if (option != nullptr && !option->takes_value) option = nullptr;
        attached = argument.substr(2);
        if (option == nullptr) spelling = argument;
      }
    }
    if (option == nullptr) return fail("unknown option " + Quoted(spelling));

    std::string value;
    if (option->takes_value) {
      if (attached) {
        value = *attached;
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return fail("option " + Quoted(spelling) + " needs a value");
      }
    }

    switch (option->id) {
      case OptionId::kTemplate:
        line.template_text = std::move(value);
        break;
      case OptionId::kTemplateFile:
        line.template_file = std::move(value);
        break;
      case OptionId::kStart:
        line.start_list = std::move(value);
        break;
      case OptionId::kEnd:
        line.end_number = std::move(value);
        break;
      case OptionId::kEncoding:
        if (const auto encoding = EncodingFromName(value)) {
          line.encoding = *encoding;
        } else {
          return fail("unknown encoding " + Quoted(value) + " (use utf-8 or cp936)");
        }
        break;
      case OptionId::kOutput:
        line.output_file = std::move(value);
        break;
      case OptionId::kLf:
        line.line_end = "\n";
        break;
      case OptionId::kHelp:
        line.action = Action::kShowHelp;
        return result;
      case OptionId::kVersion:
        line.action = Action::kShowVersion;
        return result;
    }
  }
  result.error = CheckComplete(line);
  return result;
}

}  // namespace cmdgen::cli
