// One run of cmdgen-cli: from the command line to the exit status.
#ifndef CMDGEN_CLI_RUN_H_
#define CMDGEN_CLI_RUN_H_

#include <span>
#include <string_view>

namespace cmdgen::cli {

/// The exit statuses of cmdgen-cli.
enum ExitStatus : int {
  /// The blocks were written, possibly none because the end number lies below
  /// the first start number; also when the reader closed the pipe early.
  kExitSuccess = 0,
  /// The start list is empty, so there is nothing to generate.
  kExitEmptyStartList = 1,
  /// The command line cannot be used.
  kExitUsage = 2,
  /// The template file cannot be read.
  kExitInput = 3,
  /// The output cannot be opened or written.
  kExitOutput = 4,
};

/// The descriptors of a run: where `-` reads from, where the blocks go when
/// there is no --output, and where messages go.
struct StandardStreams {
  int input = 0;
  int output = 1;
  int error = 2;
};

/// Runs the tool on the arguments that follow the program name and returns
/// its exit status. The output descriptor is closed after the last block, so
/// that an error that shows only then is reported too. Expects SIGPIPE to be
/// ignored, so that a closed pipe shows as EPIPE.
/// RunCommandLine({"-t", "vlan {1}", "-s", "5", "-e", "6"}) -> kExitSuccess, with
/// "vlan 5\r\nvlan 6\r\n" on the output
int RunCommandLine(std::span<const std::string_view> arguments, StandardStreams streams = {});

/// The text that --help writes.
std::string_view HelpText();

}  // namespace cmdgen::cli

#endif  // CMDGEN_CLI_RUN_H_
