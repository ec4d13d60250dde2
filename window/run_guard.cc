#include "window/run_guard.h"

#include <limits>

#include "generation/generate.h"

namespace cmdgen {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
  if (a != 0 && b > kMax / a) return kMax;
  return a * b;
}

// Thrown by the consumer that keeps the first block, to end the run there.
struct FirstBlockTaken {};

Text RunSize(const RunEstimate& estimate) {
  return "本次将生成 " + FormatCount(estimate.blocks) + " 个块（约 " + FormatBytes(estimate.bytes) +
         " 文本）";
}

constexpr std::string_view kNothingChanged = "\r\n\r\n已取消，输出框未作改动。";

}  // namespace

std::uint64_t CountLineBreaks(std::string_view text) {
  std::uint64_t breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++breaks;
    } else if (text[i] == '\r') {
      ++breaks;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  return breaks;
}

RunEstimate EstimateRun(std::string_view template_text, std::string_view start_list,
                        std::string_view end_number, Encoding encoding) {
  const std::int64_t steps = CountSteps(start_list, end_number, encoding);
  if (steps <= 0) return {};
  Text first;
  try {
    GenerateCommands(
        template_text, start_list, end_number,
        [&first](std::string_view block) {
          first = block;
          throw FirstBlockTaken{};
        },
        encoding);
  } catch (const FirstBlockTaken&) {
  }
  RunEstimate estimate;
  estimate.blocks = static_cast<std::uint64_t>(steps);
  // Each block is followed by "\r\n", one more line break.
  estimate.bytes = SaturatingProduct(estimate.blocks, first.size() + 2);
  estimate.lines = SaturatingProduct(estimate.blocks, CountLineBreaks(first) + 1);
  return estimate;
}

RunDecision DecideRun(const RunEstimate& estimate, std::optional<std::uint64_t> memory_needed,
                      std::optional<std::uint64_t> memory_available) {
  if (estimate.blocks == 0) return RunDecision::kGo;
  if (!memory_needed) return RunDecision::kRefuseCapacity;
  if (memory_available && *memory_needed > *memory_available) return RunDecision::kRefuseMemory;
  if (estimate.blocks > kAskAboveBlocks || estimate.bytes > kAskAboveBytes) {
    return RunDecision::kAsk;
  }
  return RunDecision::kGo;
}

bool ShowsBusyPointer(const RunEstimate& estimate) {
  return estimate.lines >= kBusyFromLines || estimate.bytes >= kBusyFromBytes;
}

Text RunQuestion(const RunEstimate& estimate) {
  return RunSize(estimate) + "，可能需要很长时间，其间窗口无法操作。\r\n\r\n是否继续？";
}

Text RunRefusal(const RunEstimate& estimate, RunDecision decision,
                std::optional<std::uint64_t> memory_needed,
                std::optional<std::uint64_t> memory_available) {
  Text text = RunSize(estimate);
  if (decision == RunDecision::kRefuseMemory && memory_needed && memory_available) {
    text += "，约需 " + FormatBytes(*memory_needed) + " 内存，超出本机可用内存（约 " +
            FormatBytes(*memory_available) + "）。";
  } else {
    text += "，超出输出框所能容纳的文本量。";
  }
  text += kNothingChanged;
  return text;
}

Text FormatCount(std::uint64_t count) {
  const Text digits = std::to_string(count);
  Text grouped;
  grouped.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

Text FormatBytes(std::uint64_t bytes) {
  static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
  if (bytes < 1024) return std::to_string(bytes) + " 字节";
  std::size_t unit_index = 0;
  std::uint64_t unit = 1024;
  while (unit_index + 1 < std::size(kUnits) && bytes / unit >= 1024) {
    unit <<= 10;
    ++unit_index;
  }
  // Whole units, or tenths below 10, rounded half up and reckoned in
  // integers: no locale can change the decimal point, and nothing overflows.
  const std::uint64_t whole = bytes / unit;
  const std::uint64_t rest = bytes % unit;
  const std::string_view name = kUnits[unit_index];
  if (whole >= 10) return std::to_string(whole + (rest >= unit / 2 ? 1 : 0)) + " " + Text(name);
  const std::uint64_t tenths = whole * 10 + (rest / (unit / 1024) * 10 + 512) / 1024;
  return std::to_string(tenths / 10) + "." + static_cast<char>('0' + tenths % 10) + " " +
         Text(name);
}

}  // namespace cmdgen
