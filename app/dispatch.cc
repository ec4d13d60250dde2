#include "app/dispatch.h"

#include <new>

#include "app/fatal_error.h"
#include "window/allocation.h"

namespace cmdgen {
namespace {

// One thread does everything, so a plain flag is enough.
bool stopping = false;

}  // namespace

bool IsStopping() { return stopping; }

void SetStopping() { stopping = true; }

void RouteClick(CommandId command, WindowPort& port) {
  if (stopping) return;
  std::size_t bytes = 0;
  try {
    RunCommand(command, port);
    return;
  } catch (const AllocationFailure& failure) {
    bytes = failure.bytes();
  } catch (const std::bad_alloc&) {
    // A failure from outside the program's own requests, whose size is not
    // known.
  }
  ReportFatalError(0, AllocationFailureMessage(bytes));
}

}  // namespace cmdgen
