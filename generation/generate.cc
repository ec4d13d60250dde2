#include "generation/generate.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "generation/number.h"

namespace cmdgen {
namespace {

// The step offset is a 32-bit signed integer, so a run makes at most this
// many steps: offsets 0 to 2147483647.
constexpr std::int64_t kMaxSteps = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;

std::int64_t StepCount(const TextArray& members, std::string_view end_number, Encoding encoding) {
  const std::int32_t last = LowBits32(TruncateToInteger(TextToNumber(end_number, encoding)));
  if (members.empty()) return 0;
  const std::int32_t first = LowBits32(TruncateToInteger(TextToNumber(members.front(), encoding)));
  if (first > last) return 0;
  return std::min<std::int64_t>(std::int64_t{last} - first + 1, kMaxSteps);
}

// The template compiled once per call: fixed text between the placeholders,
// and for each placeholder the index of its start member.
struct CompiledTemplate {
  struct Slot {
    std::size_t literal_end;  // end of the fixed text before the slot
    std::size_t resume;       // where the fixed text after the slot begins
    std::size_t member;       // 0-based start member
  };
  std::vector<Slot> slots;
  std::vector<std::size_t> members_used;
};

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Finds every placeholder the literal procedure would replace. Returns nothing
// when a number inserted for one placeholder could complete another one (a
// "{" reachable to its left over digits and other placeholders, as in
// "{{1}}"); only then does the order of replacements matter.
std::optional<CompiledTemplate> CompileTemplate(std::string_view text, std::size_t member_count,
                                                Encoding encoding) {
  CompiledTemplate compiled;
  std::vector<bool> used(member_count, false);
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == '{' && at + 2 < text.size() && text[at + 1] >= '1' && text[at + 1] <= '9') {
      std::size_t close = at + 1;
      std::size_t k = 0;
      // Numbers beyond the member count never match, so stop counting there.
      while (close < text.size() && IsAsciiDigit(text[close]) && k <= member_count) {
        k = k * 10 + static_cast<std::size_t>(text[close] - '0');
        ++close;
      }
      if (close < text.size() && text[close] == '}' && k >= 1 && k <= member_count) {
        // Walk left over digits and earlier placeholders; a "{" there means an
        // inserted number might complete a new placeholder.
        std::size_t left = at;
        std::size_t earlier = compiled.slots.size();
        for (;;) {
          if (earlier > 0 && compiled.slots[earlier - 1].resume == left) {
            left = compiled.slots[--earlier].literal_end;
          } else if (left > 0 && IsAsciiDigit(text[left - 1])) {
            --left;
          } else {
            break;
          }
        }
        if (left > 0 && text[left - 1] == '{') return std::nullopt;
        compiled.slots.push_back({at, close + 1, k - 1});
        used[k - 1] = true;
        at = close + 1;
        continue;
      }
    }
    at += detail::CharacterLength(text, at, encoding);
  }
  for (std::size_t k = 0; k < member_count; ++k) {
    if (used[k]) compiled.members_used.push_back(k);
  }
  return compiled;
}

}  // namespace

namespace detail {

void GenerateCommandsLiteral(std::string_view template_text, std::string_view start_list,
                             std::string_view end_number, BlockConsumer consume,
                             Encoding encoding) {
  const TextArray members = SplitText(start_list, ",", encoding);
  const std::int64_t steps = StepCount(members, end_number, encoding);
  const auto member_count = static_cast<std::int32_t>(
      std::min<std::size_t>(members.size(), std::numeric_limits<std::int32_t>::max()));
  for (std::int64_t offset = 0; offset < steps; ++offset) {
    Text work(template_text);
    for (std::int32_t k = 1; k <= member_count; ++k) {
      const Text placeholder = JoinTexts({"{", NumberToText(k), "}"});
      std::int32_t position = FindText(work, placeholder, std::nullopt, false, encoding);
      while (position > 0) {
        const double value = TextToNumber(members[static_cast<std::size_t>(k - 1)], encoding) +
                             static_cast<double>(offset);
        work = ReplaceText(work, position, static_cast<std::int32_t>(placeholder.size()),
                           NumberToText(value));
        position = FindText(work, placeholder, position, false, encoding);
      }
    }
    consume(work);
  }
}

}  // namespace detail

void GenerateCommands(std::string_view template_text, std::string_view start_list,
                      std::string_view end_number, BlockConsumer consume, Encoding encoding) {
  const TextArray members = SplitText(start_list, ",", encoding);
  const std::int64_t steps = StepCount(members, end_number, encoding);
  if (steps == 0) return;
  const std::optional<CompiledTemplate> compiled =
      CompileTemplate(template_text, members.size(), encoding);
  if (!compiled) {
    detail::GenerateCommandsLiteral(template_text, start_list, end_number, consume, encoding);
    return;
  }

  std::vector<double> bases(members.size(), 0.0);
  for (std::size_t k : compiled->members_used) bases[k] = TextToNumber(members[k], encoding);
  std::vector<Text> values(members.size());
  Text block;
  for (std::int64_t offset = 0; offset < steps; ++offset) {
    std::size_t size = template_text.size();
    for (std::size_t k : compiled->members_used) {
      values[k] = NumberToText(bases[k] + static_cast<double>(offset));
    }
    for (const auto& slot : compiled->slots) {
      size += values[slot.member].size();
      size -= slot.resume - slot.literal_end;
    }
    // Size first, then write straight into the block.
    block.resize(size);
    char* out = block.data();
    std::size_t from = 0;
    for (const auto& slot : compiled->slots) {
      out = std::copy(template_text.data() + from, template_text.data() + slot.literal_end, out);
      const Text& value = values[slot.member];
      out = std::copy(value.begin(), value.end(), out);
      from = slot.resume;
    }
    std::copy(template_text.data() + from, template_text.data() + template_text.size(), out);
    consume(block);
  }
}

std::int64_t CountSteps(std::string_view start_list, std::string_view end_number,
                        Encoding encoding) {
  return StepCount(SplitText(start_list, ",", encoding), end_number, encoding);
}

}  // namespace cmdgen
