// A check that a fuzz target can fail: it prints what went wrong and aborts,
// which libFuzzer records as a crash together with the input.
#ifndef CMDGEN_TESTS_FUZZ_FUZZ_CHECK_H_
#define CMDGEN_TESTS_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace cmdgen::fuzz {

/// Prints the message as a quoted C string, so that control and high bytes
/// stay visible.
inline std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
      out.push_back(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    }
  }
  out.push_back('"');
  return out;
}

[[noreturn]] inline void Fail(const std::string& message) {
  std::fprintf(stderr, "fuzz check failed: %s\n", message.c_str());
  std::abort();
}

}  // namespace cmdgen::fuzz

#endif  // CMDGEN_TESTS_FUZZ_FUZZ_CHECK_H_
