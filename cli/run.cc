#include "cli/run.h"

#include <fcntl.h>   // open
#include <unistd.h>  // read, close

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "cli/block_writer.h"
#include "cli/command_line.h"
#include "generation/generate.h"
#include "generation/text.h"

#ifndef CMDGEN_VERSION
#error "CMDGEN_VERSION must be defined by the build"
#endif

namespace cmdgen::cli {
namespace {

constexpr std::string_view kHelp =
    "Usage: cmdgen-cli (-t TEXT | -f FILE) -s LIST -e NUMBER [OPTION]...\n"
    "Write one copy of the template per step, each placeholder {k} replaced by\n"
    "start number k plus the step offset (0, 1, 2, ...). The steps run from the\n"
    "first start number up to the end number, both truncated to integers.\n"
    "Every block is followed by CR LF, as in the desktop program's output box.\n"
    "\n"
    "Options:\n"
    "  -t, --template TEXT       the template\n"
    "  -f, --template-file FILE  read the template from FILE byte for byte\n"
    "                            (\"-\" reads standard input)\n"
    "  -s, --start LIST          comma-separated start numbers, one per placeholder\n"
    "  -e, --end NUMBER          the end number of placeholder {1}\n"
    "      --encoding NAME       utf-8 (the default) or cp936 (also: gbk);\n"
    "                            how characters are told apart in the texts\n"
    "  -o, --output FILE         write the blocks to FILE instead of standard\n"
    "                            output (\"-\" is standard output)\n"
    "      --lf                  end each block with LF instead of CR LF\n"
    "  -h, --help                show this help and exit\n"
    "      --version             show the version and exit\n"
    "\n"
    "The argument after an option that takes a value is always its value, even\n"
    "when it is empty or begins with \"-\"; --opt=VALUE and -xVALUE work too.\n"
    "A start or end text that holds no number reads as 0.\n"
    "\n"
    "Exit status:\n"
    "  0  success, also when the range holds no step or the reader of the\n"
    "     output closed the pipe early\n"
    "  1  the start list is empty: nothing was generated\n"
    "  2  usage error\n"
    "  3  the template file cannot be read\n"
    "  4  the output cannot be opened or written\n"
    "\n"
    "Example, one VLAN per switch port (bash):\n"
    "  cmdgen-cli -t $'vlan {1}\\r\\nport Ethernet0/0/{2}\\r\\nquit' -s 1124,1 -e 1146\n";

constexpr std::string_view kVersion = "cmdgen-cli " CMDGEN_VERSION "\n";

// A template beyond this size could make blocks whose byte positions no longer
// fit the engine's 32-bit positions: each 3-byte placeholder may grow into a
// number of up to 20 bytes.
constexpr std::size_t kMaxTemplateBytes = std::size_t{256} << 20;

// Thrown out of the block consumer to end a run whose output failed; the
// engine has no other way to stop before its last step.
struct GenerationStopped {};

void Report(int fd, std::string_view message) {
  std::string line = "cmdgen-cli: ";
  line += message;
  line += '\n';
  // Nothing is left to do when even the message cannot be written.
  static_cast<void>(WriteFully(fd, line));
}

std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  quoted += text;
  quoted += '\'';
  return quoted;
}

// Writes a help or version text; EPIPE counts as success, as for the blocks.
int WriteInfo(int fd, std::string_view text, int error_fd) {
  const int error = WriteFully(fd, text);
  if (error != 0 && error != EPIPE) {
    Report(error_fd, "cannot write to standard output: " + std::string(std::strerror(error)));
    return kExitOutput;
  }
  return kExitSuccess;
}

// Reads the whole file into `bytes`; returns 0, the errno value of the
// failure, or EFBIG for a template too large.
int ReadAll(int fd, std::string& bytes) {
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t count = ::read(fd, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return errno;
    if (count == 0) return 0;
    if (bytes.size() + static_cast<std::size_t>(count) > kMaxTemplateBytes) return EFBIG;
    bytes.append(chunk, static_cast<std::size_t>(count));
  }
}

std::optional<std::string> ReadTemplate(const std::string& path, const StandardStreams& streams) {
  const bool from_input = path == "-";
  const std::string name = from_input ? "standard input" : Quoted(path);
  const int fd = from_input ? streams.input : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    Report(streams.error, "cannot open " + name + ": " + std::strerror(errno));
    return std::nullopt;
  }
  std::string bytes;
  const int error = ReadAll(fd, bytes);
  if (!from_input) ::close(fd);
  if (error == EFBIG) {
    Report(streams.error, "cannot read " + name + ": a template may hold at most 256 MiB");
    return std::nullopt;
  }
  if (error != 0) {
    Report(streams.error, "cannot read " + name + ": " + std::strerror(error));
    return std::nullopt;
  }
  return bytes;
}

int Generate(const CommandLine& line, const StandardStreams& streams) {
  std::string template_text;
  if (line.template_file) {
    auto bytes = ReadTemplate(*line.template_file, streams);
    if (!bytes) return kExitInput;
    template_text = std::move(*bytes);
  } else {
    template_text = *line.template_text;
  }

  // The desktop program does nothing on an empty start list; here a script is
  // told, since an empty list usually means an unset variable.
  if (SplitText(*line.start_list, ",", line.encoding).empty()) {
    Report(streams.error, "the start list is empty: nothing was generated");
    return kExitEmptyStartList;
  }

  // The output is opened only now, so that a file named both as template and
  // as output has been read before it is truncated.
  const bool to_file = line.output_file && *line.output_file != "-";
  const std::string name = to_file ? Quoted(*line.output_file) : "standard output";
  const int fd =
      to_file ? ::open(line.output_file->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)
              : streams.output;
  if (fd < 0) {
    Report(streams.error, "cannot open " + name + " for writing: " + std::strerror(errno));
    return kExitOutput;
  }

  BlockWriter writer(fd);
  const std::string_view line_end = line.line_end;
  try {
    GenerateCommands(
        template_text, *line.start_list, *line.end_number,
        [&writer, line_end](std::string_view block) {
          if (!writer.AppendLine(block, line_end)) throw GenerationStopped{};
        },
        line.encoding);
  } catch (const GenerationStopped&) {
    // The writer holds the error, reported below.
  }
  int error = writer.Flush() ? 0 : writer.error();
  // Some file systems report a failed write only when the file is closed. A
  // standard output that was closed from the start and never written to is
  // no error.
  if (::close(fd) != 0 && error == 0 && !(errno == EBADF && !to_file)) error = errno;

  // A reader that stops early, as `| head` does, wants no more: end quietly.
  if (error == 0 || error == EPIPE) return kExitSuccess;
  Report(streams.error, "cannot write to " + name + ": " + std::strerror(error));
  return kExitOutput;
}

}  // namespace

std::string_view HelpText() { return kHelp; }

int RunCommandLine(std::span<const std::string_view> arguments, StandardStreams streams) {
  const ParseResult parsed = ParseCommandLine(arguments);
  if (!parsed.error.empty()) {
    Report(streams.error, parsed.error + " (see 'cmdgen-cli --help')");
    return kExitUsage;
  }
  switch (parsed.command_line.action) {
    case Action::kShowHelp:
      return WriteInfo(streams.output, kHelp, streams.error);
    case Action::kShowVersion:
      return WriteInfo(streams.output, kVersion, streams.error);
    case Action::kGenerate:
      break;
  }
  return Generate(parsed.command_line, streams);
}

}  // namespace cmdgen::cli
