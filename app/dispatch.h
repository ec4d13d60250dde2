// The routing of button clicks to their commands, and the stopping flag.
#ifndef CMDGEN_APP_DISPATCH_H_
#define CMDGEN_APP_DISPATCH_H_

#include "window/commands.h"
#include "window/layout.h"

namespace cmdgen {

/// True once the program has begun to stop: the fatal error report is under
/// way, or the event loop has ended.
bool IsStopping();

/// Sets the stopping flag; it is never cleared.
void SetStopping();

/// Runs the command of a clicked button unless the program is stopping. A
/// request for memory that fails on the way ends the program through the
/// fatal error report, naming the bytes asked for.
/// RouteClick(CommandId::kClearOutput, port) -> port.SetContent("编辑框2", "")
void RouteClick(CommandId command, WindowPort& port);

}  // namespace cmdgen

#endif  // CMDGEN_APP_DISPATCH_H_
