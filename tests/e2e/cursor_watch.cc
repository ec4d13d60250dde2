// Watches the X server's pointer through the XFIXES extension and prints each
// change of cursor as "MILLISECONDS NAME" (NAME "-" for a cursor without a
// name, such as the later frames of an animated one). Ends with 0 once a
// cursor named "wait" has come and a named cursor other than it has followed,
// and prints "busy MILLISECONDS" for the time between; with 1 when that has
// not happened within the seconds given.
// Usage: cursor_watch SECONDS
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 20;
  Display* display = XOpenDisplay(nullptr);
  int event_base = 0;
  int error_base = 0;
  if (display == nullptr || !XFixesQueryExtension(display, &event_base, &error_base)) {
    std::fprintf(stderr, "cursor_watch: no display with XFIXES\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  std::string last;
  bool waited = false;
  double waited_at = 0;
  for (;;) {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (elapsed > seconds) return 1;
    // The name tells cursors apart; an animated cursor changes its serial at
    // every frame but keeps its name.
    std::string name = "-";
    if (XFixesCursorImage* image = XFixesGetCursorImage(display)) {
      if (image->name != nullptr && image->name[0] != '\0') name = image->name;
      XFree(image);
    }
    if (name != last) {
      std::printf("%.0f %s\n", elapsed * 1000, name.c_str());
      if (waited && name != "wait" && name != "-") {
        std::printf("busy %.0f\n", (elapsed - waited_at) * 1000);
        return 0;
      }
      if (name == "wait" && !waited) {
        waited = true;
        waited_at = elapsed;
      }
      std::fflush(stdout);
      last = name;
    }
    usleep(5000);
  }
}
