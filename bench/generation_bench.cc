// Benchmarks of the generation engine: the prepared procedure against the
// literal reference on the window's initial template, a template with ten
// placeholders and fractional start numbers, and NumberToText's fast paths
// against the exact expansion.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generation/generate.h"
#include "generation/number.h"

namespace cmdgen {
namespace {

constexpr std::string_view kInitialTemplate = "vlan {1}\r\nport Ethernet0/0/{2}\r\nquit";

// An access port with its address plan: ten placeholders, one of them twice.
constexpr std::string_view kTenPlaceholders =
    "interface GigabitEthernet{1}/{2}/{3}\r\n"
    " description access-{4} rack {5}\r\n"
    " switchport access vlan {6}\r\n"
    " ip address 10.{7}.{8}.1 255.255.255.0\r\n"
    " ip helper-address 10.{9}.0.{10}\r\n"
    " standby {6} ip 10.{7}.{8}.254\r\n"
    "exit";

using Procedure = void (*)(std::string_view, std::string_view, std::string_view, BlockConsumer,
                           Encoding);

// One iteration generates `blocks` blocks; the consumer only sums the bytes, so
// that the figure is the engine's own cost.
void RunGenerate(benchmark::State& state, Procedure procedure, std::string_view template_text,
                 std::string_view start_list, std::int64_t first) {
  const std::int64_t blocks = state.range(0);
  const std::string end = std::to_string(first + blocks - 1);
  std::int64_t bytes = 0;
  for (auto _ : state) {
    std::int64_t sum = 0;
    procedure(
        template_text, start_list, end,
        [&sum](std::string_view block) {
          benchmark::DoNotOptimize(block.data());
          sum += static_cast<std::int64_t>(block.size());
        },
        Encoding::kUtf8);
    benchmark::DoNotOptimize(sum);
    bytes += sum;
  }
  state.SetItemsProcessed(state.iterations() * blocks);
  state.SetBytesProcessed(bytes);
  state.counters["blocks/s"] = benchmark::Counter(static_cast<double>(state.iterations() * blocks),
                                                  benchmark::Counter::kIsRate);
}

void BM_Initial(benchmark::State& state, Procedure procedure) {
  RunGenerate(state, procedure, kInitialTemplate, "1124,1", 1124);
}

void BM_TenPlaceholders(benchmark::State& state, Procedure procedure) {
  RunGenerate(state, procedure, kTenPlaceholders, "1,0,1,1001,1,100,16,0,200,1", 1);
}

void BM_Fractional(benchmark::State& state, Procedure procedure) {
  RunGenerate(state, procedure, kInitialTemplate, "1124.5,0.25", 1124);
}

BENCHMARK_CAPTURE(BM_Initial, prepared, &GenerateCommands)->Arg(4094)->Arg(100000);
BENCHMARK_CAPTURE(BM_Initial, literal, &detail::GenerateCommandsLiteral)->Arg(4094)->Arg(100000);
BENCHMARK_CAPTURE(BM_TenPlaceholders, prepared, &GenerateCommands)->Arg(4094);
BENCHMARK_CAPTURE(BM_TenPlaceholders, literal, &detail::GenerateCommandsLiteral)->Arg(4094);
BENCHMARK_CAPTURE(BM_Fractional, prepared, &GenerateCommands)->Arg(4094);
BENCHMARK_CAPTURE(BM_Fractional, literal, &detail::GenerateCommandsLiteral)->Arg(4094);

// NumberToText on 4096 values of one kind per iteration.
std::vector<double> Values(std::string_view kind) {
  std::vector<double> values;
  for (int i = 0; i < 4096; ++i) {
    if (kind == "whole") {
      values.push_back(1124.0 + i);
    } else if (kind == "fraction") {
      values.push_back(1124.5 + i * 0.25);
    } else {
      values.push_back((1.0 + i) * 1.2345e17);  // the exponent form
    }
  }
  return values;
}

using Formatter = Text (*)(double);

void BM_NumberToText(benchmark::State& state, Formatter format, std::string_view kind) {
  const std::vector<double> values = Values(kind);
  for (auto _ : state) {
    for (double value : values) benchmark::DoNotOptimize(format(value));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}

Text Fast(double value) { return NumberToText(value); }

BENCHMARK_CAPTURE(BM_NumberToText, whole_fast, &Fast, "whole");
BENCHMARK_CAPTURE(BM_NumberToText, whole_exact, &detail::NumberToTextExact, "whole");
BENCHMARK_CAPTURE(BM_NumberToText, fraction_fast, &Fast, "fraction");
BENCHMARK_CAPTURE(BM_NumberToText, fraction_exact, &detail::NumberToTextExact, "fraction");
BENCHMARK_CAPTURE(BM_NumberToText, exponent_fast, &Fast, "exponent");
BENCHMARK_CAPTURE(BM_NumberToText, exponent_exact, &detail::NumberToTextExact, "exponent");

}  // namespace
}  // namespace cmdgen

BENCHMARK_MAIN();
