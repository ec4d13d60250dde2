#include "window/commands.h"

#include "generation/generate.h"

namespace cmdgen {

void GenerateIntoOutput(WindowPort& port) {
  const Text start_list = port.GetContent(kStartBox);
  const Text end_number = port.GetContent(kEndBox);
  const Text template_text = port.GetContent(kTemplateBox);

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
      port.TextEncoding());
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
