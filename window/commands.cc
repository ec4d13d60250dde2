#include "window/commands.h"

#include "generation/generate.h"
#include "window/run_guard.h"

namespace cmdgen {
namespace {

// The busy pointer for the length of a run, taken back however it ends.
class BusyPointer {
 public:
  BusyPointer(WindowPort& port, bool shown) : port_(shown ? &port : nullptr) {
    if (port_ != nullptr) port_->ShowBusy(true);
  }
  ~BusyPointer() {
    if (port_ != nullptr) port_->ShowBusy(false);
  }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  WindowPort* port_;
};

}  // namespace

void GenerateIntoOutput(WindowPort& port) {
  const Text start_list = port.GetContent(kStartBox);
  const Text end_number = port.GetContent(kEndBox);
  const Text template_text = port.GetContent(kTemplateBox);
  const Encoding encoding = port.TextEncoding();

  const RunEstimate estimate = EstimateRun(template_text, start_list, end_number, encoding);
  if (estimate.blocks == 0) return;
  const std::optional<std::uint64_t> needed = port.OutputMemoryFor(estimate.bytes, estimate.lines);
  const std::optional<std::uint64_t> available = port.AvailableMemoryBytes();
  switch (const RunDecision decision = DecideRun(estimate, needed, available)) {
    case RunDecision::kRefuseMemory:
    case RunDecision::kRefuseCapacity:
      port.ShowRefusal(RunRefusal(estimate, decision, needed, available));
      return;
    case RunDecision::kAsk:
      if (!port.AskToContinue(RunQuestion(estimate))) return;
      break;
    case RunDecision::kGo:
      break;
  }
  const BusyPointer busy(port, ShowsBusyPointer(estimate));

  // Nothing else touches the box while the command runs, so appending the
  // gathered blocks in one piece leaves it exactly as appending each block
  // and its line break on its own would.
  Text piece;
  auto flush = [&] {
    const std::string_view texts[] = {piece};
    port.AppendText(kOutputBox, texts);
    piece.clear();
  };
  GenerateCommands(
      template_text, start_list, end_number,
      [&](std::string_view block) {
        if (piece.capacity() == 0) piece.reserve(kAppendPieceBytes + block.size() + 2);
        piece.append(block);
        piece.append("\r\n");
        if (piece.size() >= kAppendPieceBytes) flush();
      },
      encoding);
  if (!piece.empty()) flush();
}

void CopyOutputToClipboard(WindowPort& port) {
  // A clipboard that cannot be had is not reported to the user.
  static_cast<void>(port.SetClipboardText(port.GetContent(kOutputBox)));
}

void ClearOutput(WindowPort& port) { port.SetContent(kOutputBox, {}); }

void RunCommand(CommandId command, WindowPort& port) {
  switch (command) {
    case CommandId::kGenerateIntoOutput:
      GenerateIntoOutput(port);
      break;
    case CommandId::kCopyOutputToClipboard:
      CopyOutputToClipboard(port);
      break;
    case CommandId::kClearOutput:
      ClearOutput(port);
      break;
    case CommandId::kNone:
      break;
  }
}

}  // namespace cmdgen
