// The output box at scale: the real main window, its Generate button clicked
// with QTest, timed from the click until the output box has painted its end,
// and the time to read the whole output back as Copy does. Each size runs in
// a fresh process, so that its peak memory (ru_maxrss) is its own.
//
// Usage: window_bench [--repeat R] [BLOCKS...]   (default 4094 100000 1000000)
//        window_bench --run BLOCKS               (one measurement, one line)
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <sys/resource.h>  // getrusage, the peak resident size
#include <unistd.h>        // readlink, sysconf

#include "app/dispatch.h"
#include "generation/generate.h"
#include "window/layout.h"
#include "window/qt/main_window.h"
#include "window/qt/qt_window_port.h"

namespace cmdgen {
namespace {

constexpr std::int64_t kFirstVlan = 1124;

std::int64_t PeakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::int64_t ResidentKib() {
  long pages = 0;
  long resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// FNV-1a over a stream of texts.
struct Digest {
  std::uint64_t hash = 14695981039346656037u;
  std::uint64_t bytes = 0;
  void Add(std::string_view text) {
    for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    bytes += text.size();
  }
};

// Watches the output box's viewport for the first paint that shows the end
// of the box: scrolled to the bottom.
class PaintWatch final : public QObject {
 public:
  explicit PaintWatch(QPlainTextEdit& box) : box_(box) { box.viewport()->installEventFilter(this); }
  bool shown_end = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == box_.viewport() && event->type() == QEvent::Paint) {
      const QScrollBar* bar = box_.verticalScrollBar();
      if (bar->maximum() > 0 && bar->value() == bar->maximum()) shown_end = true;
    }
    return false;
  }

 private:
  QPlainTextEdit& box_;
};

int RunOne(std::int64_t blocks) {
  int argc = 1;
  char name[] = "window_bench";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);

  MainWindow window;
  QtWindowPort port(window);
  window.SetClickHandler([&port](CommandId command) { RouteClick(command, port); });
  const std::string end_number = std::to_string(kFirstVlan + blocks - 1);
  port.SetContent(kEndBox, end_number);
  window.ShowCentred();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "the window was not shown\n");
    return 1;
  }
  auto* output = qobject_cast<QPlainTextEdit*>(window.Control(kOutputBox));
  auto* button = window.Control(kGenerateButton);
  PaintWatch watch(*output);
  QCoreApplication::processEvents();

  const std::int64_t base_kib = ResidentKib();
  QElapsedTimer timer;
  timer.start();
  QTest::mouseClick(button, Qt::LeftButton);
  const double command_ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  while (!watch.shown_end && timer.elapsed() < 600000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  const double shown_ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  const std::int64_t shown_peak_kib = PeakKib();
  const std::int64_t held_kib = ResidentKib();

  timer.restart();
  const Text content = port.GetContent(kOutputBox);
  const double read_ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  const std::int64_t read_peak_kib = PeakKib();

  // The box must hold exactly the blocks, with the caret at the end.
  Digest expected;
  GenerateCommands(
      port.GetContent(kTemplateBox), port.GetContent(kStartBox), end_number,
      [&](std::string_view block) {
        expected.Add(block);
        expected.Add("\r\n");
      },
      port.TextEncoding());
  Digest got;
  got.Add(content);
  const bool exact = watch.shown_end && got.hash == expected.hash && got.bytes == expected.bytes &&
                     output->textCursor().atEnd() && !output->textCursor().hasSelection() &&
                     !output->document()->isUndoAvailable();
  std::printf("blocks=%" PRId64 " bytes=%" PRIu64
              " lines=%d command_ms=%.1f shown_ms=%.1f "
              "read_ms=%.1f base_kib=%" PRId64 " held_kib=%" PRId64 " shown_peak_kib=%" PRId64
              " read_peak_kib=%" PRId64 " exact=%d\n",
              blocks, got.bytes, output->document()->blockCount(), command_ms, shown_ms, read_ms,
              base_kib, held_kib, shown_peak_kib, read_peak_kib, exact ? 1 : 0);
  return exact ? 0 : 2;
}

struct Result {
  std::int64_t blocks = 0;
  std::uint64_t bytes = 0;
  int lines = 0, exact = 0;
  double command_ms = 0, shown_ms = 0, read_ms = 0;
  std::int64_t base_kib = 0, held_kib = 0, shown_peak_kib = 0, read_peak_kib = 0;
};

bool RunChild(const std::string& self, std::int64_t blocks, Result& result) {
  const std::string command = "'" + self + "' --run " + std::to_string(blocks);
  std::FILE* child = popen(command.c_str(), "r");
  if (child == nullptr) return false;
  char line[1024] = {};
  const bool read = std::fgets(line, sizeof line, child) != nullptr;
  const int status = pclose(child);
  if (!read) return false;
  const int fields =
      std::sscanf(line,
                  "blocks=%" SCNd64 " bytes=%" SCNu64
                  " lines=%d command_ms=%lf shown_ms=%lf read_ms=%lf "
                  "base_kib=%" SCNd64 " held_kib=%" SCNd64 " shown_peak_kib=%" SCNd64
                  " read_peak_kib=%" SCNd64 " exact=%d",
                  &result.blocks, &result.bytes, &result.lines, &result.command_ms,
                  &result.shown_ms, &result.read_ms, &result.base_kib, &result.held_kib,
                  &result.shown_peak_kib, &result.read_peak_kib, &result.exact);
  std::fputs(line, stderr);
  return fields == 11 && status == 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int RunAll(std::vector<std::int64_t> sizes, int repeat) {
  char self[4096] = {};
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return 1;
  if (sizes.empty()) sizes = {4094, 100000, 1000000};
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  std::printf("Qt platform: %s; %d fresh processes per size, median (min-max)\n\n",
              platform != nullptr ? platform : "(default)", repeat);
  std::printf(
      "| Blocks | Text | Click to end shown | Command alone | Read back | Peak memory "
      "| Box holds | Memory per byte of text |\n");
  std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  int failures = 0;
  for (std::int64_t blocks : sizes) {
    std::vector<double> shown, command, read;
    Result last;
    for (int i = 0; i < repeat; ++i) {
      Result result;
      if (!RunChild(self, blocks, result) || result.exact != 1) {
        std::fprintf(stderr, "the run of %" PRId64 " blocks failed\n", blocks);
        ++failures;
        continue;
      }
      shown.push_back(result.shown_ms);
      command.push_back(result.command_ms);
      read.push_back(result.read_ms);
      last = result;
    }
    if (shown.empty()) continue;
    const auto range = [](const std::vector<double>& v, const char* unit, double scale) {
      char text[96];
      std::snprintf(text, sizeof text, "%.0f %s (%.0f-%.0f)", Median(v) / scale, unit,
                    *std::min_element(v.begin(), v.end()) / scale,
                    *std::max_element(v.begin(), v.end()) / scale);
      return std::string(text);
    };
    const double mib = 1024.0 * 1024.0;
    const double per_byte = static_cast<double>(last.shown_peak_kib - last.base_kib) * 1024.0 /
                            static_cast<double>(last.bytes);
    std::printf("| %" PRId64
                " | %.1f MiB | %s | %s | %s | %.0f MiB | %.0f MiB | %.1f (held %.1f) |\n",
                blocks, static_cast<double>(last.bytes) / mib, range(shown, "ms", 1).c_str(),
                range(command, "ms", 1).c_str(), range(read, "ms", 1).c_str(),
                static_cast<double>(last.read_peak_kib) / 1024.0,
                static_cast<double>(last.held_kib - last.base_kib) / 1024.0, per_byte,
                static_cast<double>(last.held_kib - last.base_kib) * 1024.0 /
                    static_cast<double>(last.bytes));
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace cmdgen

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--run") == 0) {
    return cmdgen::RunOne(std::strtoll(argv[2], nullptr, 10));
  }
  int repeat = 3;
  std::vector<std::int64_t> sizes;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
      repeat = std::max(1, std::atoi(argv[++i]));
    } else {
      sizes.push_back(std::strtoll(argv[i], nullptr, 10));
    }
  }
  return cmdgen::RunAll(sizes, repeat);
}
