// Fuzzes GenerateCommands against the literal procedure. The input is a flags
// byte, then the template, the start list and the end number separated by NUL
// bytes (a NUL never occurs inside a text). Flag bit 0 picks the encoding; a
// run that would make more than eight steps has its end number replaced by
// first + (flags >> 1) % 8, so that every input stays small.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generation/generate.h"
#include "generation/number.h"
#include "tests/fuzz/fuzz_check.h"

namespace cmdgen {
namespace {

constexpr std::int64_t kMaxSteps = 8;

using Procedure = void (*)(std::string_view, std::string_view, std::string_view, BlockConsumer,
                           Encoding);

std::vector<std::string> Collect(Procedure procedure, std::string_view template_text,
                                 std::string_view start_list, std::string_view end_number,
                                 Encoding encoding) {
  std::vector<std::string> blocks;
  procedure(
      template_text, start_list, end_number,
      [&blocks](std::string_view block) { blocks.emplace_back(block); }, encoding);
  return blocks;
}

}  // namespace
}  // namespace cmdgen

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace cmdgen;
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string_view parts[3];
  for (std::string_view& part : parts) {
    const std::size_t nul = rest.find('\0');
    part = rest.substr(0, nul);
    rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
  }
  const std::string_view template_text = parts[0];
  const std::string_view start_list = parts[1];
  std::string end_number(parts[2]);
  const Encoding encoding = (flags & 1) ? Encoding::kDoubleByte : Encoding::kUtf8;

  std::int64_t steps = CountSteps(start_list, end_number, encoding);
  if (steps > kMaxSteps) {
    const TextArray members = SplitText(start_list, ",", encoding);
    const std::int32_t first = LowBits32(TruncateToInteger(TextToNumber(members[0], encoding)));
    end_number = std::to_string(std::int64_t{first} + (flags >> 1) % kMaxSteps);
    steps = CountSteps(start_list, end_number, encoding);
    if (steps > kMaxSteps) fuzz::Fail("clamping the end number left " + std::to_string(steps));
  }

  const auto prepared = Collect(&GenerateCommands, template_text, start_list, end_number, encoding);
  const auto literal =
      Collect(&detail::GenerateCommandsLiteral, template_text, start_list, end_number, encoding);
  const std::string inputs = fuzz::Quote(template_text) + " | " + fuzz::Quote(start_list) + " | " +
                             fuzz::Quote(end_number);
  if (static_cast<std::int64_t>(literal.size()) != steps) {
    fuzz::Fail("CountSteps says " + std::to_string(steps) + " but the literal procedure made " +
               std::to_string(literal.size()) + " blocks for " + inputs);
  }
  if (prepared != literal) {
    std::size_t step = 0;
    while (step < prepared.size() && step < literal.size() && prepared[step] == literal[step]) {
      ++step;
    }
    fuzz::Fail("prepared and literal differ at step " + std::to_string(step) + " for " + inputs +
               ": " + (step < prepared.size() ? fuzz::Quote(prepared[step]) : "(none)") +
               " against " + (step < literal.size() ? fuzz::Quote(literal[step]) : "(none)"));
  }
  return 0;
}
