// Runs the real cmdgen-cli binary and checks its bytes, messages and statuses.
#include <fcntl.h>         // O_* flags
#include <spawn.h>         // posix_spawn
#include <sys/resource.h>  // rusage
#include <sys/wait.h>      // wait4

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace cmdgen {
namespace {

constexpr std::string_view kWindowTemplate = "vlan {1}\r\nport Ethernet0/0/{2}\r\nquit";

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
  long peak_kib = 0;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The 23 blocks of the window's initial contents, built without the engine.
std::string WindowExample(std::string_view line_end) {
  std::string expected;
  for (int i = 0; i < 23; ++i) {
    expected += "vlan " + std::to_string(1124 + i) + "\r\nport Ethernet0/0/" +
                std::to_string(1 + i) + "\r\nquit";
    expected += line_end;
  }
  return expected;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "cmdgen-cli-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path Path(std::string_view name) const { return dir_ / name; }

  // Runs `program` with the arguments; standard input holds `input`, standard
  // output goes to `out_path` when given and is captured otherwise.
  RunResult Spawn(const std::string& program, const std::vector<std::string>& arguments,
                  std::string_view input = {}, const std::string& out_path = {}) {
    const std::string in_file = Path("stdin").string();
    const std::string out_file = out_path.empty() ? Path("stdout").string() : out_path;
    const std::string err_file = Path("stderr").string();
    WriteFile(in_file, input);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in_file.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    RunResult result;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0) << program;
    if (spawned != 0) return result;
    int status = 0;
    rusage usage{};
    EXPECT_EQ(wait4(pid, &status, 0, &usage), pid);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.peak_kib = usage.ru_maxrss;
    if (out_path.empty()) result.out = ReadFile(out_file);
    result.err = ReadFile(err_file);
    return result;
  }

  RunResult RunCli(const std::vector<std::string>& arguments, std::string_view input = {},
                   const std::string& out_path = {}) {
    return Spawn(CMDGEN_CLI_PATH, arguments, input, out_path);
  }

  std::filesystem::path dir_;
};

TEST_F(CliTest, WritesTheWindowExampleByteForByte) {
  const struct {
    std::vector<std::string> extra;
    std::string_view line_end;
  } cases[] = {{{}, "\r\n"}, {{"--lf"}, "\n"}, {{"--encoding", "cp936"}, "\r\n"}};
  for (const auto& c : cases) {
    std::vector<std::string> arguments{
        "--template", std::string(kWindowTemplate), "--start", "1124,1", "--end", "1146"};
    arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
    SCOPED_TRACE(testing::PrintToString(c.extra));
    const RunResult run = RunCli(arguments);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, WindowExample(c.line_end));
    EXPECT_EQ(run.err, "");
  }
}

// The token after an option that takes a value is that value, whatever it is.
TEST_F(CliTest, TakesTheArgumentAfterAnOptionAsItsValue) {
  const struct {
    std::vector<std::string> arguments;
    std::string_view out;
  } cases[] = {
      {{"-t", "vlan {1}", "--start", "-2.5", "--end", "1"},
       "vlan -2.5\r\nvlan -1.5\r\nvlan -0.5\r\nvlan 0.5\r\n"},
      {{"--template=vlan {1}", "--start=-2.5", "--end=-1"}, "vlan -2.5\r\nvlan -1.5\r\n"},
      {{"-tvlan {1}", "-s-2.5", "-e-2"}, "vlan -2.5\r\n"},
      {{"-t", "--lf", "-s", "--help", "-e", "1"}, "--lf\r\n--lf\r\n"},
      {{"-t", "{1}", "-s", "", "-e", "0", "-s", "7"}, ""},
      {{"-t", "{1}", "-s", " 1 ", "-e", "  2x"}, "1\r\n2\r\n"},
      {{"-t", "{1}", "-s", "abc", "-e", ""}, "0\r\n"},
      {{"-t", "", "-s", "1", "-e", "3"}, "\r\n\r\n\r\n"},
      {{"-t", "-", "-s", "1", "-e", "1", "-o", "-"}, "-\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    const RunResult run = RunCli(c.arguments);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "");
  }
}

// Template files are taken byte for byte in either encoding; the start text
// is read with the same encoding.
TEST_F(CliTest, ReadsTemplateFilesInEitherEncoding) {
  const struct {
    std::string_view encoding;
    std::string_view template_bytes;
    std::string_view start;
    std::string_view out;
  } cases[] = {
      // A Chinese character in GBK before the placeholder; full-width "12".
      {"cp936", "\xD6\xD0{1}\r\nquit", "\xA3\xB1\xA3\xB2",
       "\xD6\xD0"
       "12\r\nquit\r\n\xD6\xD0"
       "13\r\nquit\r\n"},
      {"GBK", "\xD6\xD0{1}", "\xA3\xB1\xA3\xB2",
       "\xD6\xD0"
       "12\r\n\xD6\xD0"
       "13\r\n"},
      // The same in UTF-8: U+4E2D, then full-width "１２".
      {"utf-8", "\xE4\xB8\xAD{1}\r\nquit", "\xEF\xBC\x91\xEF\xBC\x92",
       "\xE4\xB8\xAD"
       "12\r\nquit\r\n\xE4\xB8\xAD"
       "13\r\nquit\r\n"},
      // In cp936 0x81 0x7B is one character, so no placeholder begins there.
      {"cp936", "\x81{1}\r\n", "12", "\x81{1}\r\n\r\n\x81{1}\r\n\r\n"},
      {"utf8", "\x81{1}\r\n", "12",
       "\x81"
       "12\r\n\r\n\x81"
       "13\r\n\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.encoding) + " " +
                 testing::PrintToString(c.template_bytes));
    WriteFile(Path("template.txt"), c.template_bytes);
    const RunResult run = RunCli({"-f", Path("template.txt").string(), "-s", std::string(c.start),
                                  "-e", "13", "--encoding", std::string(c.encoding)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(CliTest, ReadsTheTemplateFromStandardInput) {
  const RunResult run = RunCli({"-f", "-", "-s", "5,1", "-e", "6"}, "vlan {1}\r\nport {2}\r\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "vlan 5\r\nport 1\r\n\r\nvlan 6\r\nport 2\r\n\r\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(CliTest, WritesToTheOutputFileAndReplacesItsContent) {
  const std::filesystem::path out = Path("out.txt");
  WriteFile(out, std::string(10000, 'z'));
  const RunResult run = RunCli({"-t", std::string(kWindowTemplate), "-s", "1124,1", "-e", "1146",
                                "-o", out.string(), "--lf"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadFile(out), WindowExample("\n"));
}

TEST_F(CliTest, ReadsTheTemplateFileBeforeItWritesTheSameFile) {
  const std::filesystem::path file = Path("both.txt");
  WriteFile(file, "x{1}");
  const RunResult run = RunCli({"-f", file.string(), "-s", "1", "-e", "2", "-o", file.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ReadFile(file), "x1\r\nx2\r\n");
}

TEST_F(CliTest, AnEmptyStartListWritesNothingAndSaysSo) {
  const std::filesystem::path out = Path("untouched.txt");
  WriteFile(out, "earlier output");
  for (const std::vector<std::string>& output :
       {std::vector<std::string>{}, std::vector<std::string>{"-o", out.string()}}) {
    std::vector<std::string> arguments{"-t", "vlan {1}", "-s", "", "-e", "5"};
    arguments.insert(arguments.end(), output.begin(), output.end());
    const RunResult run = RunCli(arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "cmdgen-cli: the start list is empty: nothing was generated\n");
  }
  EXPECT_EQ(ReadFile(out), "earlier output");
}

TEST_F(CliTest, AnEmptyRangeSucceedsWithoutOutput) {
  const RunResult run = RunCli({"-t", "vlan {1}", "-s", "5", "-e", "4"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

// One block fails only at the final flush; many fail in the middle of the run.
TEST_F(CliTest, ReportsAFullDevice) {
  for (const std::string end : {"1", "300000"}) {
    SCOPED_TRACE(end);
    const RunResult to_file = RunCli({"-t", "vlan {1}", "-s", "1", "-e", end, "-o", "/dev/full"});
    EXPECT_EQ(to_file.status, 4);
    EXPECT_EQ(to_file.err, "cmdgen-cli: cannot write to '/dev/full': No space left on device\n");

    const RunResult to_stdout = RunCli({"-t", "vlan {1}", "-s", "1", "-e", end}, {}, "/dev/full");
    EXPECT_EQ(to_stdout.status, 4);
    EXPECT_EQ(to_stdout.err,
              "cmdgen-cli: cannot write to standard output: No space left on device\n");
  }
  const RunResult help = RunCli({"--help"}, {}, "/dev/full");
  EXPECT_EQ(help.status, 4);
  EXPECT_EQ(help.err, "cmdgen-cli: cannot write to standard output: No space left on device\n");
}

// The run would take minutes if a closed pipe did not end it.
TEST_F(CliTest, EndsQuietlyWhenTheReaderClosesThePipe) {
  const RunResult run =
      Spawn("/bin/sh",
            {"-c", "{ \"$0\" -t 'vlan {1}' -s 1 -e 2000000000; echo \"$?\" >\"$1\"; } | head -n 2",
             CMDGEN_CLI_PATH, Path("status").string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "vlan 1\r\nvlan 2\r\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadFile(Path("status")), "0\n");
}

TEST_F(CliTest, ShowsHelpAndVersion) {
  for (const std::string option : {"-h", "--help"}) {
    const RunResult run = RunCli({"-t", "x", option, "--bogus"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("Usage: cmdgen-cli ")) << run.out;
    for (const std::string_view status : {"  1  ", "  2  ", "  3  ", "  4  "}) {
      EXPECT_NE(run.out.find(status), std::string::npos) << status;
    }
    EXPECT_EQ(run.err, "");
  }
  const RunResult run = RunCli({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "cmdgen-cli " CMDGEN_VERSION "\n");
}

TEST_F(CliTest, RejectsBadUseWithOneLineAndItsStatus) {
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string_view message;
  } cases[] = {
      {{"--bogus", "-t", "x", "-s", "1", "-e", "1"}, 2, "unknown option '--bogus'"},
      {{"--templ=x", "-s", "1", "-e", "1"}, 2, "unknown option '--templ'"},
      {{"-x"}, 2, "unknown option '-x'"},
      {{"-hx"}, 2, "unknown option '-hx'"},
      {{"-t", "x", "-s", "1", "-e"}, 2, "option '-e' needs a value"},
      {{"-t", "x", "-e", "1", "--start"}, 2, "option '--start' needs a value"},
      {{"-t", "x", "-s", "1", "-e", "1", "--lf=yes"}, 2, "option '--lf' takes no value"},
      {{"-t", "x", "-s", "1", "-e", "1", "extra"}, 2, "unexpected argument 'extra'"},
      {{"-t", "x", "-s", "1", "-e", "1", "--", "-t"}, 2, "unexpected argument '-t'"},
      {{"-t", "x", "-f", "y", "-s", "1", "-e", "1"},
       2,
       "give either --template or --template-file, not both"},
      {{"-s", "1", "-e", "1"}, 2, "no template: give --template TEXT or --template-file FILE"},
      {{"-t", "x", "-e", "1"}, 2, "missing --start LIST"},
      {{"-t", "x", "-s", "1"}, 2, "missing --end NUMBER"},
      {{"-t", "x", "-s", "1", "-e", "1", "--encoding", "latin1"},
       2,
       "unknown encoding 'latin1' (use utf-8 or cp936)"},
      {{"-f", "/nonexistent-cmdgen/t.txt", "-s", "1", "-e", "1"},
       3,
       "cannot open '/nonexistent-cmdgen/t.txt': No such file or directory"},
      {{"-f", "/", "-s", "1", "-e", "1"}, 3, "cannot read '/': Is a directory"},
      {{"-t", "x", "-s", "1", "-e", "1", "-o", "/nonexistent-cmdgen/out.txt"},
       4,
       "cannot open '/nonexistent-cmdgen/out.txt' for writing: No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    const RunResult run = RunCli(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
    const std::string hint = c.status == 2 ? " (see 'cmdgen-cli --help')" : "";
    EXPECT_EQ(run.err, "cmdgen-cli: " + std::string(c.message) + hint + "\n");
  }
}

// Blocks are written as they are made: ten thousand times as many blocks need
// hardly more memory. Kept out of the sanitized run (see CMakeLists.txt).
TEST_F(CliTest, PeakMemoryDoesNotGrowWithTheNumberOfBlocks) {
  const RunResult few = RunCli({"-t", "vlan {1}", "-s", "1", "-e", "1000"}, {}, "/dev/null");
  const RunResult many = RunCli({"-t", "vlan {1}", "-s", "1", "-e", "10000000"}, {}, "/dev/null");
  ASSERT_EQ(few.status, 0);
  ASSERT_EQ(many.status, 0);
  // The 10 million blocks come to about 128 MB.
  EXPECT_LT(many.peak_kib - few.peak_kib, 4096) << few.peak_kib << " KiB, then " << many.peak_kib;
}

}  // namespace
}  // namespace cmdgen
