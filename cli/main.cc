// The entry of cmdgen-cli, the command-line front end of the generator.
#include <csignal>
#include <string_view>
#include <vector>

#include "cli/run.h"

int main(int argc, char** argv) {
  // A reader that closes the pipe early must not kill the process mid-write:
  // the write then fails with EPIPE, which ends the run quietly.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return cmdgen::cli::RunCommandLine(arguments);
}
