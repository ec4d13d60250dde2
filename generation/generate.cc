#include "generation/generate.h"

#include <algorithm>
#include <array>
#include <cmath>
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

// The text of one start member's value, step after step. Whole non-negative
// values that stay below 10^13 are written by NumberToText exactly as their
// decimal digits, so they count up as an odometer; every other value is
// written afresh at each step.
class ValueText {
 public:
  ValueText(double base, std::int64_t steps)
      : base_(base),
        odometer_(base >= 0 && base == std::floor(base) &&
                  base + static_cast<double>(steps - 1) < 1e13) {}

  // Moves to the value of the step with this offset, the next one after the
  // last call (0 first). Returns whether the text's length changed.
  bool Advance(std::int64_t offset) {
    const std::size_t before = length_;
    if (!odometer_ || offset == 0) {
      // NumberToText writes at most 20 bytes, such as "-1.234567890123e-308".
      const Text text = NumberToText(base_ + static_cast<double>(offset));
      std::copy(text.begin(), text.end(), digits_.begin());
      length_ = text.size();
      changed_ = length_;
      return length_ != before;
    }
    std::size_t at = length_;
    while (at > 0 && digits_[at - 1] == '9') digits_[--at] = '0';
    if (at > 0) {
      ++digits_[at - 1];
      changed_ = length_ - at + 1;
      return false;
    }
    // 999 became 000: the carry makes the number one digit longer.
    digits_[0] = '1';
    digits_[length_++] = '0';
    changed_ = length_;
    return true;
  }

  // How many bytes at the end of the text the last Advance changed.
  std::size_t changed() const { return changed_; }

  std::string_view text() const { return {digits_.data(), length_}; }

 private:
  double base_;
  bool odometer_;
  std::array<char, 24> digits_{};
  std::size_t length_ = 0;
  std::size_t changed_ = 0;
};

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

  std::vector<ValueText> values;
  std::vector<std::size_t> value_of_member(members.size());
  for (std::size_t k : compiled->members_used) {
    value_of_member[k] = values.size();
    values.emplace_back(TextToNumber(members[k], encoding), steps);
  }
  // Where each slot's value starts in the block; valid while no value text
  // changes its length.
  std::vector<std::size_t> slot_offsets(compiled->slots.size());
  std::vector<std::size_t> value_of_slot(compiled->slots.size());
  for (std::size_t i = 0; i < compiled->slots.size(); ++i) {
    value_of_slot[i] = value_of_member[compiled->slots[i].member];
  }
  Text block;
  for (std::int64_t offset = 0; offset < steps; ++offset) {
    bool relayout = offset == 0;
    for (auto& value : values) relayout |= value.Advance(offset);
    if (relayout) {
      // Size first, then write straight into the block.
      std::size_t size = template_text.size();
      for (const auto& slot : compiled->slots) {
        size += values[value_of_member[slot.member]].text().size();
        size -= slot.resume - slot.literal_end;
      }
      block.resize(size);
      char* const begin = block.data();
      char* out = begin;
      std::size_t from = 0;
      for (std::size_t i = 0; i < compiled->slots.size(); ++i) {
        const auto& slot = compiled->slots[i];
        out = std::copy(template_text.data() + from, template_text.data() + slot.literal_end, out);
        slot_offsets[i] = static_cast<std::size_t>(out - begin);
        const std::string_view text = values[value_of_member[slot.member]].text();
        out = std::copy(text.begin(), text.end(), out);
        from = slot.resume;
      }
      std::copy(template_text.data() + from, template_text.data() + template_text.size(), out);
    } else {
      // Same lengths as in the step before: only the digits that the step
      // changed are written, most often the last one alone.
      char* const begin = block.data();
      for (std::size_t i = 0; i < slot_offsets.size(); ++i) {
        const ValueText& value = values[value_of_slot[i]];
        const std::string_view text = value.text();
        const std::size_t changed = value.changed();
        char* const out = begin + slot_offsets[i] + text.size();
        const char* const in = text.data() + text.size();
        if (changed == 1) {
          out[-1] = in[-1];
        } else {
          std::copy(in - changed, in, out - changed);
        }
      }
    }
    consume(block);
  }
}

std::int64_t CountSteps(std::string_view start_list, std::string_view end_number,
                        Encoding encoding) {
  return StepCount(SplitText(start_list, ",", encoding), end_number, encoding);
}

}  // namespace cmdgen
