// The generation procedure behind the Generate command.
#ifndef CMDGEN_GENERATION_GENERATE_H_
#define CMDGEN_GENERATION_GENERATE_H_

#include <cstdint>
#include <string_view>
#include <type_traits>
#include <utility>

#include "generation/text.h"

namespace cmdgen {

/// A non-owning reference to the caller's block consumer. It is called with
/// each finished block; the view is valid only during the call.
class BlockConsumer {
 public:
  template <typename F,
            typename = std::enable_if_t<!std::is_same_v<std::remove_cvref_t<F>, BlockConsumer>>>
  BlockConsumer(F&& f)  // NOLINT(google-explicit-constructor): used like a function parameter
      : object_(const_cast<void*>(static_cast<const void*>(&f))),
        call_([](void* object, std::string_view block) {
          (*static_cast<std::remove_reference_t<F>*>(object))(block);
        }) {}

  void operator()(std::string_view block) const { call_(object_, block); }

 private:
  void* object_;
  void (*call_)(void*, std::string_view);
};

/// Makes one block per step and hands each to `consume` as soon as it is
/// built. The steps run from the first start number, truncated, up to the end
/// number, truncated, both kept in 32 bits; placeholder "{k}" receives the
/// number of start member k plus the step offset. With no start member there
/// is no step. A run never makes more than 2147483648 steps. A consumer that
/// throws ends the run; the exception passes to the caller.
/// GenerateCommands("vlan {1}", "5.7", "7.9", f) -> f("vlan 5.7"), f("vlan 6.7"), f("vlan 7.7")
void GenerateCommands(std::string_view template_text, std::string_view start_list,
                      std::string_view end_number, BlockConsumer consume,
                      Encoding encoding = Encoding::kUtf8);

/// The number of blocks that GenerateCommands makes for these inputs, without
/// making them.
/// CountSteps("1124,1", "1146") -> 23
std::int64_t CountSteps(std::string_view start_list, std::string_view end_number,
                        Encoding encoding = Encoding::kUtf8);

namespace detail {

/// The generation procedure step by step, searching and replacing in a fresh
/// copy of the template at each step. GenerateCommands falls back to it where
/// the order of replacements matters; it is also the reference for tests.
void GenerateCommandsLiteral(std::string_view template_text, std::string_view start_list,
                             std::string_view end_number, BlockConsumer consume,
                             Encoding encoding = Encoding::kUtf8);

}  // namespace detail

}  // namespace cmdgen

#endif  // CMDGEN_GENERATION_GENERATE_H_
