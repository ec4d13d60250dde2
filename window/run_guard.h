// The look before a Generate run: what it would add to the output box, and
// whether it goes ahead at once, asks the user first, or cannot go ahead.
#ifndef CMDGEN_WINDOW_RUN_GUARD_H_
#define CMDGEN_WINDOW_RUN_GUARD_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "generation/text.h"

namespace cmdgen {

/// A run of more blocks than this asks the user first.
inline constexpr std::uint64_t kAskAboveBlocks = 1'000'000;

/// A run of more bytes of text than this (64 MiB) asks the user first.
inline constexpr std::uint64_t kAskAboveBytes = std::uint64_t{64} << 20;

/// A run of at least this many lines, or at least kBusyFromBytes of text,
/// shows the busy pointer: about a tenth of a second of work for the output
/// box, where a wait begins to be felt.
inline constexpr std::uint64_t kBusyFromLines = 25'000;
inline constexpr std::uint64_t kBusyFromBytes = std::uint64_t{1} << 20;

/// The caption of the question before a very large run.
inline constexpr std::string_view kRunQuestionCaption = "确认";

/// The caption of the notice that a run does not go ahead.
inline constexpr std::string_view kRunRefusalCaption = "提示";

/// What one Generate run would add to the output box: its blocks, and its
/// bytes and line breaks reckoned as the first block with its "\r\n" once
/// per block. Counts saturate instead of wrapping.
struct RunEstimate {
  std::uint64_t blocks = 0;
  std::uint64_t bytes = 0;
  std::uint64_t lines = 0;

  friend bool operator==(const RunEstimate&, const RunEstimate&) = default;
};

/// Counts the steps and makes only the first block, the engine's step 0.
/// EstimateRun("vlan {1}", "1124", "1146", Encoding::kUtf8) -> {23, 23 * 11, 23}
RunEstimate EstimateRun(std::string_view template_text, std::string_view start_list,
                        std::string_view end_number, Encoding encoding);

/// The line breaks that a text makes in a multi-line box: each "\r\n", and
/// each "\r" or "\n" that stands alone.
/// CountLineBreaks("a\r\nb\nc\r") -> 3
std::uint64_t CountLineBreaks(std::string_view text);

enum class RunDecision {
  kGo,              // run at once
  kAsk,             // ask the user, with No as the default
  kRefuseMemory,    // the machine cannot give the output box the memory
  kRefuseCapacity,  // the output box cannot hold that much text at all
};

/// The decision for a run. `memory_needed` is what the output box needs to
/// take the run, nothing when it cannot hold that much whatever the memory;
/// `memory_available` is what the machine can still give, nothing when that
/// is not known. A refusal wins over the question.
/// DecideRun({1'000'001, 38'000'038, 1'000'001}, 500 << 20, 8ull << 30) -> kAsk
RunDecision DecideRun(const RunEstimate& estimate, std::optional<std::uint64_t> memory_needed,
                      std::optional<std::uint64_t> memory_available);

/// True when the run is long enough to show the busy pointer.
/// ShowsBusyPointer({23, 874, 69}) -> false
bool ShowsBusyPointer(const RunEstimate& estimate);

/// The question before a very large run.
/// RunQuestion({2'000'000, 76'000'000, 6'000'000})
///   -> "本次将生成 2,000,000 个块（约 72 MiB
///   文本），可能需要很长时间，其间窗口无法操作。\r\n\r\n是否继续？"
Text RunQuestion(const RunEstimate& estimate);

/// The notice of a run that does not go ahead: the decision is kRefuseMemory
/// or kRefuseCapacity; the figures of memory are those given to DecideRun.
/// RunRefusal({10'000'000, 380'000'000, 30'000'000}, kRefuseMemory, 5ull << 30, 2ull << 30)
///   -> "本次将生成 10,000,000 个块（约 362 MiB 文本），约需 5.0 GiB 内存，
///       超出本机可用内存（约 2.0 GiB）。\r\n\r\n已取消，输出框未作改动。"
Text RunRefusal(const RunEstimate& estimate, RunDecision decision,
                std::optional<std::uint64_t> memory_needed,
                std::optional<std::uint64_t> memory_available);

/// A count with its thousands separated by ",".
/// FormatCount(1234567) -> "1,234,567"
Text FormatCount(std::uint64_t count);

/// An amount of memory or text in binary units, one decimal below 10.
/// FormatBytes(3 << 20 | 1 << 19) -> "3.5 MiB"; FormatBytes(64 << 20) -> "64 MiB"
Text FormatBytes(std::uint64_t bytes);

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_RUN_GUARD_H_
